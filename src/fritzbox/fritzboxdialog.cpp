#include "fritzbox/fritzboxdialog.h"

#include "support/messagebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quirlanto {

namespace {

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    // As drawn, the text comes out a little wider than measured: its last letter was cut off.
    l->setMinimumWidth(l->sizeHint().width() + l->fontMetrics().averageCharWidth());
    return l;
}

} // namespace

FritzBoxDialog::FritzBoxDialog(const FritzBoxSettings &settings, const QString &password,
                               const QString &programDirectory, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_link(new FritzBoxLink(programDirectory, this))
{
    setObjectName(QStringLiteral("fritzBoxDialog"));
    setWindowTitle(QStringLiteral("FRITZ!Box"));

    m_host = new QLineEdit(settings.host, this);
    m_host->setObjectName(QStringLiteral("fritzBoxHostBox"));
    m_host->setPlaceholderText(FritzBoxSettings{}.host);
    m_host->setAccessibleName(QStringLiteral("Adresse der FRITZ!Box"));
    m_host->setToolTip(QStringLiteral("Name oder IP-Adresse der FRITZ!Box, mit \":Port\" für einen anderen "
                                      "TR-064-Port als 49000"));
    m_user = new QLineEdit(settings.user, this);
    m_user->setObjectName(QStringLiteral("fritzBoxUserBox"));
    m_user->setAccessibleName(QStringLiteral("Benutzer der FRITZ!Box"));
    m_user->setToolTip(QStringLiteral("Der FRITZ!Box-Benutzer, unter dem Quirlanto wählt"));
    m_password = new QLineEdit(password, this);
    m_password->setObjectName(QStringLiteral("fritzBoxPasswordBox"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setAccessibleName(QStringLiteral("Kennwort des Benutzers"));
    m_password->setToolTip(QStringLiteral("Wird im Schlüsselbund der Arbeitsumgebung gespeichert, nie in einer Datei"));
    connect(m_password, &QLineEdit::textEdited, this, [this] { m_passwordTyped = true; });

    // Editable: a phone may be named before the router can be asked.
    m_phone = new QComboBox(this);
    m_phone->setObjectName(QStringLiteral("fritzBoxPhoneList"));
    m_phone->setEditable(true);
    m_phone->setInsertPolicy(QComboBox::NoInsert);
    m_phone->setAccessibleName(QStringLiteral("Klingelndes Telefon"));
    m_phone->lineEdit()->setAccessibleName(QStringLiteral("Name des klingelnden Telefons"));
    m_phone->setToolTip(QStringLiteral("Dieses Telefon klingelt; nach dem Abheben wählt die FRITZ!Box die Nummer"));
    m_phone->setMinimumContentsLength(24);
    m_phone->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (!settings.phone.isEmpty())
        m_phone->addItem(settings.phone);
    m_phone->setCurrentText(settings.phone);
    m_fetch = new QPushButton(QStringLiteral("Telefone ab&fragen"), this);
    m_fetch->setObjectName(QStringLiteral("fetchPhonesButton"));
    m_fetch->setToolTip(QStringLiteral("Fragt die FRITZ!Box nach ihren Telefonen"));
    m_fetch->setAccessibleName(QStringLiteral("Telefone von der FRITZ!Box abfragen"));
    m_fetch->setAutoDefault(false);
    connect(m_fetch, &QPushButton::clicked, this, &FritzBoxDialog::fetchPhones);

    m_callMonitor = new QCheckBox(QStringLiteral("Anrufe an&zeigen"), this);
    m_callMonitor->setObjectName(QStringLiteral("fritzBoxCallMonitorCheckBox"));
    m_callMonitor->setChecked(settings.callMonitor);
    m_callMonitor->setAccessibleName(QStringLiteral("Anrufe anzeigen"));
    m_callMonitor->setToolTip(
        QStringLiteral("Anrufe an der FRITZ!Box melden (über ihren Anrufmonitor, Port %1)").arg(settings.monitorPort));

    m_check = new QPushButton(QStringLiteral("&Verbindung prüfen"), this);
    m_check->setObjectName(QStringLiteral("checkConnectionButton"));
    m_check->setToolTip(QStringLiteral("Prüft Schritt für Schritt, ob Quirlanto über die FRITZ!Box wählen kann"));
    m_check->setAccessibleName(QStringLiteral("Verbindung zur FRITZ!Box prüfen"));
    m_check->setAutoDefault(false);
    connect(m_check, &QPushButton::clicked, this, &FritzBoxDialog::runCheck);
    m_results = new QListWidget(this);
    m_results->setObjectName(QStringLiteral("checkResultList"));
    m_results->setAccessibleName(QStringLiteral("Ergebnis der Prüfung"));
    m_results->setWordWrap(true);
    m_results->setSpacing(2);
    m_results->setTextElideMode(Qt::ElideNone);
    m_results->setResizeMode(QListView::Adjust);
    m_results->setSelectionMode(QAbstractItemView::NoSelection);
    m_results->setFocusPolicy(Qt::TabFocus);
    m_results->setMinimumSize(fontMetrics().averageCharWidth() * 64, fontMetrics().height() * 8);

    m_buttons = new QDialogButtonBox(this);
    QPushButton *ok = m_buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    m_buttons->addButton(QStringLiteral("&Abbrechen"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(buddyLabel(QStringLiteral("A&dresse"), m_host, this), m_host);
    form->addRow(buddyLabel(QStringLiteral("&Benutzer"), m_user, this), m_user);
    form->addRow(buddyLabel(QStringLiteral("&Kennwort"), m_password, this), m_password);
    auto *phoneRow = new QHBoxLayout;
    phoneRow->addWidget(m_phone, 1);
    phoneRow->addWidget(m_fetch);
    form->addRow(buddyLabel(QStringLiteral("Klingelndes &Telefon"), m_phone, this), phoneRow);
    form->addRow(QString(), m_callMonitor);
    auto *checkRow = new QHBoxLayout;
    checkRow->addWidget(m_check);
    checkRow->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(checkRow);
    layout->addWidget(m_results, 1);
    layout->addWidget(m_buttons);
    fixDialogFrame(this);
}

BoxAccess FritzBoxDialog::values() const
{
    BoxAccess access{m_settings, m_password->text()};
    access.settings.host = m_host->text().trimmed();
    if (access.settings.host.isEmpty())
        access.settings.host = FritzBoxSettings{}.host;
    access.settings.user = m_user->text().trimmed();
    access.settings.phone = m_phone->currentText().trimmed();
    access.settings.callMonitor = m_callMonitor->isChecked();
    return access;
}

void FritzBoxDialog::offerPassword(const QString &password)
{
    if (!m_passwordTyped)
        m_password->setText(password);
}

void FritzBoxDialog::fetchPhones()
{
    setBusy(true);
    m_results->clear();
    m_link->listPhones(values(), [this](const QStringList &phones, const BoxProblem &problem) {
        showPhones(phones, problem);
        setBusy(false);
    });
}

void FritzBoxDialog::showPhones(const QStringList &phones, const BoxProblem &problem)
{
    if (!problem.ok()) {
        addResult(problem.message, false);
        return;
    }
    if (phones.isEmpty()) {
        addResult(QStringLiteral("Die FRITZ!Box nennt keine Telefone."), false);
        return;
    }
    // The phone shown stays chosen; with none shown, the first one is.
    const QString shown = m_phone->currentText().trimmed();
    m_phone->clear();
    m_phone->addItems(phones);
    const int index = shown.isEmpty() ? 0 : int(phones.indexOf(shown));
    if (index >= 0)
        m_phone->setCurrentIndex(index);
    else
        m_phone->setCurrentText(shown);
    addResult(phones.size() == 1 ? QStringLiteral("Die FRITZ!Box nennt ein Telefon.")
                                 : QStringLiteral("Die FRITZ!Box nennt %1 Telefone.").arg(phones.size()),
              true);
    if (index < 0)
        addResult(QStringLiteral("„%1“ ist kein Telefon der FRITZ!Box. Bitte eines aus der Liste wählen.").arg(shown),
                  false);
}

void FritzBoxDialog::runCheck()
{
    setBusy(true);
    m_results->clear();
    m_link->check(
        values(), [this](const BoxCheckLine &line) { addResult(line.text, line.ok); },
        [this](const BoxProblem &problem) {
            // A problem no line has named yet (the module missing) still needs saying.
            bool named = false;
            for (int i = 0; i < m_results->count(); ++i)
                named = named || !m_results->item(i)->data(Qt::UserRole).toBool();
            if (!problem.ok() && !named)
                addResult(problem.message, false);
            setBusy(false);
        });
}

void FritzBoxDialog::addResult(const QString &text, bool ok)
{
    auto *item = new QListWidgetItem((ok ? QStringLiteral("✓ ") : QStringLiteral("✗ ")) + text, m_results);
    item->setData(Qt::UserRole, ok);
    item->setData(Qt::AccessibleTextRole, (ok ? QStringLiteral("In Ordnung: ") : QStringLiteral("Fehler: ")) + text);
    item->setForeground(ok ? palette().text() : QBrush(QColor(0xb0, 0x00, 0x20)));
    m_results->scrollToItem(item);
}

void FritzBoxDialog::setBusy(bool busy)
{
    m_busy = busy;
    m_fetch->setEnabled(!busy);
    m_check->setEnabled(!busy);
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
    if (!busy)
        emit idle();
}

} // namespace quirlanto
