#include "dial/portdevicedialog.h"

#include "dial/modemlink.h"
#include "support/messagebox.h"
#include "support/settingsstore.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quirlanto {

namespace {

constexpr int kPortCount = 16;

QString hex4(quint16 value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}

} // namespace

QList<SerialDevice> systemSerialDevices()
{
    QList<SerialDevice> devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SerialDevice device{info.systemLocation(), info.description(), info.manufacturer(), QString()};
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            device.usbIds = hex4(info.vendorIdentifier()) + QLatin1Char(':') + hex4(info.productIdentifier());
        devices.append(device);
    }
    return devices;
}

PortDeviceDialog::PortDeviceDialog(int comPort, const QList<SerialDevice> &devices, SettingsStore &store,
                                   QWidget *parent)
    : QDialog(parent)
    , m_comPort(comPort)
    , m_store(store)
{
    setObjectName(QStringLiteral("portDeviceDialog"));
    setWindowTitle(QStringLiteral("Gerät für COM%1").arg(comPort));

    auto *intro = new QLabel(
        QStringLiteral("Welches Gerät soll COM%1 sein? Zurzeit: %2").arg(comPort).arg(portDevice(comPort, store)),
        this);
    intro->setTextFormat(Qt::PlainText);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("deviceList"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Gerät"), QStringLiteral("Beschreibung"), QStringLiteral("Hersteller"),
                             QStringLiteral("USB-Kennung"), QStringLiteral("Anschluß")});
    for (const SerialDevice &device : devices) {
        QStringList ports;
        for (int n = 1; n <= kPortCount; ++n) {
            if (portDevice(n, store) == device.location)
                ports << QStringLiteral("COM%1").arg(n);
        }
        auto *item = new QTreeWidgetItem(
            m_list, {device.location, device.description, device.manufacturer, device.usbIds, ports.join(u", ")});
        if (device.location == portDevice(comPort, store))
            m_list->setCurrentItem(item);
    }
    if (!m_list->currentItem() && m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->setMinimumWidth(560);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &PortDeviceDialog::accept);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *assign = buttons->addButton(QStringLiteral("&Zuordnen"), QDialogButtonBox::AcceptRole);
    assign->setDefault(true);
    assign->setEnabled(m_list->topLevelItemCount() > 0);
    buttons->addButton(QStringLiteral("&Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &PortDeviceDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    if (devices.isEmpty()) {
        auto *none = new QLabel(QStringLiteral("Das System meldet keine seriellen Geräte."), this);
        none->setObjectName(QStringLiteral("noDevicesLabel"));
        layout->addWidget(none);
    }
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    fixDialogFrame(this);
}

void PortDeviceDialog::accept()
{
    if (QTreeWidgetItem *item = m_list->currentItem())
        m_store.setValue(QStringLiteral("Ports/COM%1").arg(m_comPort), item->text(0));
    QDialog::accept();
}

} // namespace quirlanto
