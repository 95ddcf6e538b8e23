#include "dial/dialer.h"

#include "dial/clipboardsource.h"
#include "dial/dialview.h"
#include "dial/modemcommand.h"
#include "dial/progresswindow.h"
#include "numbers/foreignnumbers.h"
#include "numbers/internationalform.h"
#include "register/registerdocument.h"
#include "support/clock.h"
#include "support/messagebox.h"

#include <QApplication>

namespace quirlanto {

Dialer::Dialer(const RegisterDocument &book, DialView &view, ClipboardSource &clipboard, const Clock &clock,
               QObject *parent)
    : QObject(parent)
    , m_book(book)
    , m_view(view)
    , m_clipboard(clipboard)
    , m_clock(clock)
{}

Dialer::~Dialer()
{
    cancel();
}

void Dialer::setBackend(DialDevice device, DialBackend *backend)
{
    m_backends.at(std::size_t(device)) = backend;
    connect(backend, &DialBackend::finished, this, [this, backend](const DialResult &result) {
        if (backend == m_active)
            finish(result);
    });
    connect(backend, &DialBackend::lineReached, this, [this, backend] {
        if (backend == m_active)
            listOutgoing();
    });
    connect(backend, &DialBackend::progress, this, [this, backend](const QString &word) {
        if (backend == m_active && m_window)
            m_window->showResultWord(word);
    });
}

bool Dialer::refuseWhileDialing()
{
    if (m_active)
        QApplication::beep();
    return m_active;
}

void Dialer::dial(DialMode mode)
{
    if (refuseWhileDialing())
        return;
    switch (mode) {
    case DialMode::SelectedEntry:
        if (const std::optional<PhoneEntry> entry = m_view.selectedEntry())
            dialEntry(entry->name, filterDialChars(entry->number), entry->zeroFlag);
        return;
    case DialMode::Clipboard: {
        if (!m_clipboard.hasText()) {
            MessageBoxes::information(m_view.dialogParent(),
                                      QStringLiteral("In der Zwischenablage befindet sich kein Text."));
            return;
        }
        const QString text = m_clipboard.text();
        if (const QString refusal = clipboardNumberRefusal(filterDialChars(text)); !refusal.isEmpty()) {
            MessageBoxes::information(m_view.dialogParent(), refusal);
            return;
        }
        dialEntry(QString(), internationalFromClipboard(text, m_book.settings(), &ForeignNumbers::shared()), true);
        return;
    }
    case DialMode::Redial:
        // Nothing stored yet (the tray item is greyed then): dialing an empty number would only
        // take the line off hook. A key or a launcher action gets a beep and a word why.
        if (m_redial.stored) {
            dialEntry(m_redial.lastName, m_redial.lastNumber, m_redial.lastZeroFlag);
        } else {
            QApplication::beep();
            m_view.setStatusText(QStringLiteral("Für die Wahlwiederholung wurde noch keine Nummer gewählt."));
        }
        return;
    }
    MessageBoxes::show(m_view.dialogParent(), MessageIcon::None, QStringLiteral("Unknown mode in DIAL()"));
}

void Dialer::dialNumber(const QString &internationalNumber)
{
    dialNumberFor(internationalNumber, QString());
}

void Dialer::dialNumberFor(const QString &internationalNumber, const QString &name)
{
    if (refuseWhileDialing())
        return;
    const QString number = filterDialChars(internationalNumber);
    if (!number.isEmpty())
        dialEntry(name, number, true);
}

void Dialer::dialEntry(const QString &name, const QString &number, bool zeroFlag)
{
    m_redial = RedialMemory{name, zeroFlag, number, true};
    emit redialAvailable();

    const Settings &settings = m_book.settings();
    const DialDevice device = m_book.dialDevice();
    DialRequest request{name, number, {}, {}, {}, settings.comPort};
    if (device == DialDevice::PhoneProgram) {
        request.phoneProgram = m_book.phoneProgram();
        m_view.setStatusText(QStringLiteral("Wähle +") + number);
    } else if (device == DialDevice::FritzBox) {
        // The router is the line: no outside-line prefix, no modem commands.
        request.prepared = prepareNumber(number, zeroFlag, settings, &m_book.providers(), m_clock);
        m_view.setStatusText(QStringLiteral("Wähle ") + lineDigits(request.prepared));
    } else {
        request.prepared = prepareNumber(number, zeroFlag, settings, &m_book.providers(), m_clock);
        // Digits of the modem's extra commands ("M1", "S7=30") would sound as tones before the number.
        Settings lineSettings = settings;
        if (device == DialDevice::Loudspeaker)
            lineSettings.extraModemCommands.clear();
        request.commandLine = buildModemCommand(request.prepared, lineSettings);
        m_view.setStatusText(QStringLiteral("Wähle ") + filterDialChars(request.commandLine));
    }
    DialBackend *backend = m_backends.at(std::size_t(device));
    if (!backend)
        return;
    m_active = backend;
    m_outgoing = Outgoing{m_clock.now(), number, name, device};
    backend->start(request);
    // The device may have refused at once; then there is nothing to show.
    if (m_active != backend || !backend->showsProgress())
        return;
    auto *window = new ProgressWindow(m_view.dialogParent());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setEntry(name, request.prepared.displayNumber);
    connect(window, &ProgressWindow::abortRequested, this, &Dialer::cancel);
    m_window = window;
    window->open();
}

void Dialer::cancel()
{
    if (m_active)
        m_active->cancel();
}

void Dialer::finish(const DialResult &result)
{
    m_active = nullptr;
    if (result.kind == DialResult::Kind::Done)
        listOutgoing();
    m_outgoing.reset();
    if (m_window)
        m_window->finish();
    if (result.kind == DialResult::Kind::Failed) {
        MessageBoxes::notify(m_view.dialogParent(), result.warning ? MessageIcon::Warning : MessageIcon::Critical,
                             result.message);
        if (result.showOptions)
            m_view.showOptionsCard();
    }
    // "Wähle …" would still stand as if the dial went on. Last: the options card puts its hint there.
    if (result.kind == DialResult::Kind::Cancelled)
        m_view.setStatusText(QStringLiteral("Anwahl abgebrochen."));
    else if (result.kind == DialResult::Kind::Failed)
        m_view.setStatusText(QStringLiteral("Anwahl fehlgeschlagen: ")
                             + result.message.section(QStringLiteral("\n\n"), 0, 0).simplified());
    emit dialEnded();
}

void Dialer::listOutgoing()
{
    if (const std::optional<Outgoing> call = std::exchange(m_outgoing, std::nullopt))
        emit dialed(call->time, call->number, call->name, call->device);
}

} // namespace quirlanto
