#include "dial/dialer.h"

#include "dial/clipboardsource.h"
#include "dial/dialhost.h"
#include "dial/modemcommand.h"
#include "dial/modemlink.h"
#include "dial/numberpreparation.h"
#include "numbers/foreignnumbers.h"
#include "numbers/internationalform.h"
#include "dial/phoneprogram.h"
#include "dial/progresswindow.h"
#include "dial/toneplayer.h"
#include "support/datadirectory.h"
#include "support/messagebox.h"
#include "support/programdirectory.h"

#include <QApplication>
#include <QPointer>

namespace quirlanto {

Dialer::Dialer(DialHost &host, ClipboardSource &clipboard, ModemLink &modem, ToneOutput &tones, const Clock &clock,
               QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_clipboard(clipboard)
    , m_modem(modem)
    , m_tones(tones)
    , m_clock(clock)
    , m_beep([] { QApplication::beep(); })
{}

Dialer::~Dialer() = default;

void Dialer::dial(DialMode mode)
{
    // Tray entries stay usable during a dial; two dials at once would mix on one line.
    if (m_dialing) {
        m_beep();
        return;
    }

    switch (mode) {
    case SelectedEntry: {
        if (const std::optional<PhoneEntry> entry = m_host.selectedEntry())
            dialEntry(entry->name, filterDialChars(entry->number), entry->zeroFlag);
        return;
    }
    case Clipboard: {
        if (!m_clipboard.hasText()) {
            MessageBoxes::information(m_host.dialogParent(),
                                      QStringLiteral("In der Zwischenablage befindet sich kein Text."));
            return;
        }
        const QString text = m_clipboard.text();
        if (const QString refusal = clipboardNumberRefusal(filterDialChars(text)); !refusal.isEmpty()) {
            MessageBoxes::information(m_host.dialogParent(), refusal);
            return;
        }
        dialEntry(QString(), internationalFromClipboard(text, m_host.settings(), &ForeignNumbers::shared()), true);
        return;
    }
    case Redial:
        // Nothing stored yet (the tray item is greyed then): dialing an empty number would only
        // take the line off hook.
        if (!m_redial.stored)
            return;
        dialEntry(m_redial.lastName, m_redial.lastNumber, m_redial.lastZeroFlag);
        return;
    }
    MessageBoxes::show(m_host.dialogParent(), MessageIcon::None, QStringLiteral("Unknown mode in DIAL()"));
}

void Dialer::dialNumber(const QString &internationalNumber)
{
    if (m_dialing) {
        m_beep();
        return;
    }
    const QString number = filterDialChars(internationalNumber);
    if (number.isEmpty())
        return;
    dialEntry(QString(), number, true);
}

void Dialer::dialEntry(const QString &name, const QString &number, bool zeroFlag)
{
    m_redial = RedialMemory{name, zeroFlag, number, true};
    emit redialAvailable();

    if (m_phoneProgram && m_phoneProgram->isChosen()) {
        // The phone program dials from its own line: no outside line, prefixes or provider.
        m_host.setStatusText(QStringLiteral("Wähle +") + number);
        const QPointer<QWidget> parent = m_host.dialogParent();
        const QString problem = m_phoneProgram->dial(
            number, [parent](const QString &refused) { MessageBoxes::critical(parent.data(), refused); });
        if (!problem.isEmpty())
            MessageBoxes::critical(parent.data(), problem);
        return;
    }

    const Settings &settings = m_host.settings();
    const PreparedNumber prepared = prepareNumber(number, zeroFlag ? 1 : 0, settings, &m_host.providerTable(), m_clock);
    const QString commandLine = buildModemCommand(prepared, settings);
    m_host.setStatusText(QStringLiteral("Wähle ") + filterDialChars(commandLine));

    if (settings.dialDevice == Loudspeaker) {
        m_dialing = true;
        const QString problem = playCommandLine(commandLine, resourceDirectory(), m_tones);
        if (!problem.isEmpty()) {
            MessageBoxes::show(m_host.dialogParent(), MessageIcon::Warning,
                               QStringLiteral("Die Wähltöne können nicht abgespielt werden.\n\n") + problem);
        }
        m_dialing = false;
        return;
    }
    dialModem(commandLine, name, prepared.displayNumber);
}

void Dialer::dialModem(const QString &commandLine, const QString &name, const QString &displayNumber)
{
    const int comPort = m_host.settings().comPort;
    if (!m_modem.dial(commandLine, comPort)) {
        QString text = QStringLiteral("Der angegebene Anschluß COM%1 ist nicht verfügbar.").arg(comPort);
        if (!m_modem.failure().isEmpty())
            text += QStringLiteral("\n\n") + m_modem.failure();
        MessageBoxes::critical(m_host.dialogParent(), text);
        m_host.showOptionsCard();
        return;
    }

    m_dialing = true;
    ProgressWindow window(m_host.dialogParent());
    window.setEntry(name, displayNumber);
    bool deviceLost = false;
    const QList<QMetaObject::Connection> connections = {
        connect(&m_modem, &ModemLink::answeredOk, &window, &ProgressWindow::finish),
        connect(&m_modem, &ModemLink::resultWordReceived, &window, &ProgressWindow::showResultWord),
        connect(&m_modem, &ModemLink::deviceLost, &window,
                [&] {
                    deviceLost = true;
                    window.finish();
                }),
        connect(&window, &ProgressWindow::abortRequested, &window,
                [&] {
                    m_modem.abort();
                    window.finish();
                }),
    };

    m_window = &window;
    emit progressWindowShown(&window);
    // The answer may already have come in while someone processed events above.
    if (m_modem.isOpen())
        window.exec();
    m_window = nullptr;
    for (const QMetaObject::Connection &c : connections)
        disconnect(c);
    m_dialing = false;

    if (deviceLost) {
        MessageBoxes::show(m_host.dialogParent(), MessageIcon::Warning,
                           QStringLiteral("Die Verbindung zum Modem an COM%1 wurde unterbrochen.").arg(comPort));
    }
}

void Dialer::showModemAnswer()
{
    m_modem.showModemAnswer(m_host.dialogParent());
}

} // namespace quirlanto
