#pragma once

#include "dial/dialbackend.h"
#include "dial/dialmode.h"
#include "options/settings.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <optional>

namespace quirlanto {

class ClipboardSource;
class Clock;
class DialView;
class RegisterDocument;
class ProgressWindow;

// The number dialed last, in international form before classification. Memory only.
struct RedialMemory {
    QString lastName;
    bool lastZeroFlag = false;
    QString lastNumber;
    bool stored = false;
};

// The single entry point through which the program dials: takes the number, prepares it with
// the document's settings and providers, and hands it to the device the document names. A dial
// runs on by the device's signals; nothing here waits.
class Dialer : public QObject {
    Q_OBJECT
public:
    Dialer(const RegisterDocument &book, DialView &view, ClipboardSource &clipboard, const Clock &clock,
           QObject *parent = nullptr);
    ~Dialer() override;

    // The device that dials for a choice of "Anwahl ausführen über ..."; not owned.
    void setBackend(DialDevice device, DialBackend *backend);

    // Takes the number the mode names, remembers it for redial and starts the dial. A request
    // while a dial runs is refused with a beep: two dials at once would mix on one line.
    void dial(quirlanto::DialMode mode);
    // Dials a number given from outside (a tel: link), in international form, like a clipboard
    // number: anonymous, zero flag on.
    void dialNumber(const QString &internationalNumber);
    // The same for a number known by name (calling back from the call list).
    void dialNumberFor(const QString &internationalNumber, const QString &name);
    // Ends a running dial at once.
    void cancel();

    bool isDialing() const { return m_active; }

signals:
    // A number is stored for redial (emitted after every dial that got a number).
    void redialAvailable();
    // A dial has ended, however; the next one may start.
    void dialEnded();
    // A dial went out (neither failed nor cancelled before it did): for the call list. `time` is
    // when it started; `name` is the register's, empty for a number from elsewhere.
    void dialed(const QDateTime &time, const QString &internationalNumber, const QString &name,
                quirlanto::DialDevice device);

private:
    bool refuseWhileDialing();
    void dialEntry(const QString &name, const QString &number, bool zeroFlag);
    void finish(const DialResult &result);
    void listOutgoing();

    const RegisterDocument &m_book;
    DialView &m_view;
    ClipboardSource &m_clipboard;
    const Clock &m_clock;
    std::array<DialBackend *, kDialDeviceCount> m_backends = {};
    DialBackend *m_active = nullptr;
    QPointer<ProgressWindow> m_window;
    RedialMemory m_redial;
    // The running dial, until it is listed.
    struct Outgoing {
        QDateTime time;
        QString number;
        QString name;
        DialDevice device;
    };
    std::optional<Outgoing> m_outgoing;
};

} // namespace quirlanto
