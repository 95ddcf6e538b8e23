#pragma once

#include <QDialog>
#include <QList>

class QTreeWidget;

namespace quirlanto {

class SettingsStore;

// A serial device as the system reports it.
struct SerialDevice {
    QString location;    // /dev/ttyUSB0
    QString description; // as the driver names it
    QString manufacturer;
    QString usbIds; // "vvvv:pppp", "" for a device without USB ids
};

// The serial devices the system reports now.
QList<SerialDevice> systemSerialDevices();

// "&Gerät …": lists the serial devices with the COMn each is assigned to, and assigns the chosen
// one to a COMn ("Ports/COMn" in the settings store). The next dial uses it.
class PortDeviceDialog final : public QDialog {
    Q_OBJECT
public:
    PortDeviceDialog(int comPort, const QList<SerialDevice> &devices, SettingsStore &store, QWidget *parent = nullptr);

    void accept() override;

private:
    int m_comPort;
    SettingsStore &m_store;
    QTreeWidget *m_list;
};

} // namespace quirlanto
