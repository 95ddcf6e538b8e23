#pragma once

#include "dial/dialmode.h"
#include "dial/progresswindow.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

namespace quirlanto {

class ClipboardSource;
class Clock;
class DialHost;
class ModemLink;
class DesktopPhone;
class ToneOutput;

// The number dialed last, in international form before classification. Memory only.
struct RedialMemory {
    QString lastName;
    bool lastZeroFlag = false;
    QString lastNumber;
    bool stored = false;
};

// The single entry point through which the program dials.
class Dialer : public QObject {
    Q_OBJECT
public:
    Dialer(DialHost &host, ClipboardSource &clipboard, ModemLink &modem, ToneOutput &tones, const Clock &clock,
           QObject *parent = nullptr);
    ~Dialer() override;

    // Takes the number the mode names, remembers it for redial, and dials it through the modem
    // (with the window "Anwahl") or as tones. Returns when the dial has ended.
    void dial(DialMode mode);
    // Dials a number given from outside (a tel: link), in international form, like a clipboard
    // number: anonymous, zero flag on.
    void dialNumber(const QString &internationalNumber);

    // "Debug" on the options card.
    void showModemAnswer();

    const RedialMemory &redialMemory() const { return m_redial; }
    // True while the modem window is open or tones are playing.
    bool isDialing() const { return m_dialing; }
    // The open window "Anwahl", or null.
    ProgressWindow *progressWindow() const { return m_window; }

    // When it is chosen, numbers go to the desktop's phone program instead of modem or tones.
    void setPhoneProgram(const DesktopPhone *program) { m_phoneProgram = program; }

    // Test seam for the refusal beep.
    void setBeep(std::function<void()> beep) { m_beep = std::move(beep); }

signals:
    // A number is stored for redial (emitted after every dial that got a number).
    void redialAvailable();
    // The window "Anwahl" is about to be shown modally.
    void progressWindowShown(quirlanto::ProgressWindow *window);

private:
    void dialEntry(const QString &name, const QString &number, bool zeroFlag);
    void dialModem(const QString &commandLine, const QString &name, const QString &displayNumber);

    DialHost &m_host;
    ClipboardSource &m_clipboard;
    ModemLink &m_modem;
    ToneOutput &m_tones;
    const Clock &m_clock;
    RedialMemory m_redial;
    bool m_dialing = false;
    QPointer<ProgressWindow> m_window;
    std::function<void()> m_beep;
    const DesktopPhone *m_phoneProgram = nullptr;
};

} // namespace quirlanto
