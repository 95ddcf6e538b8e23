#pragma once

#include "options/settings.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace quirlanto {

// Why talking to the router failed, in German, naming what the user must change and where in
// the router's menu; a SOAP fault's UPnP error code stands at the end of the message.
struct BoxProblem {
    enum class Kind {
        None,
        Unreachable,  // the name does not resolve, nothing answers, or no answer in time
        NoTr64,       // the port refuses or the description has no X_VoIP ("Zugriff für Anwendungen")
        Unauthorized, // 401 after the password: user, password or the user's rights
        Fault,        // a SOAP fault (e.g. the dialing help is off)
        NoPhone,      // no phone chosen
        UnknownPhone, // the chosen phone is not in the router's list
        ModuleMissing,
        Other,
    };
    Kind kind = Kind::None;
    QString message;
    int upnpErrorCode = 0;

    bool ok() const { return kind == Kind::None; }
};

// One line of "Verbindung prüfen".
struct BoxCheckLine {
    QString text; // what was checked, and its result or what to change
    bool ok = false;
};

struct BoxAccess {
    FritzBoxSettings settings;
    QString password;
};

// Talks TR-064 to the router through the network module (loaded on first use). Each call ends
// with its `done` exactly once, on this thread, never before the call returns; a new call while
// one runs abandons the old one (its `done` does not run).
class FritzBoxLink : public QObject {
    Q_OBJECT
public:
    // programDirectory empty: the module comes from moduleDirectory(), else from its lib/.
    explicit FritzBoxLink(QString programDirectory = {}, QObject *parent = nullptr);
    ~FritzBoxLink() override;

    // "Klingelndes Telefon": X_AVM-DE_GetPhonePort with NewIndex 1, 2, … until a fault.
    void listPhones(const BoxAccess &access, std::function<void(const QStringList &phones, const BoxProblem &)> done);
    // Every check in order: reachable, TR-064 with X_VoIP, password, dialing help, phone.
    void check(const BoxAccess &access, std::function<void(const BoxCheckLine &)> line,
               std::function<void(const BoxProblem &)> done);
    // Sets the dialing help's phone when it is not the chosen one, then X_AVM-DE_DialNumber.
    // `done` when the router has accepted the number (it reports nothing more).
    void dial(const BoxAccess &access, const QString &digits, std::function<void(const BoxProblem &)> done);
    // X_AVM-DE_DialHangup; abandons a running call. Nothing is reported.
    void hangup(const BoxAccess &access);
    // Abandons a running call.
    void abort();
    // How long the router may take over one answer (10 s); the message names it.
    void setTimeoutMs(int ms);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Where the router's password is found. The keyring is asked first; where none answers, the
// user is asked once per run and the answer stays in memory.
class BoxPasswordPrompt {
public:
    virtual ~BoxPasswordPrompt() = default;
    // "FRITZ!Box-Kennwort"; `wrongBefore` adds the line that the last one was wrong. `answer`
    // runs once; `given` is false when the user cancelled.
    virtual void ask(bool wrongBefore, std::function<void(bool given, const QString &password)> answer) = 0;
};

// The router's password, kept under user and host: in the desktop's keyring (through the network
// module), else in memory for this run. Never in a file.
class BoxPasswords : public QObject {
    Q_OBJECT
public:
    explicit BoxPasswords(QString programDirectory = {}, QObject *parent = nullptr);
    ~BoxPasswords() override;
    // Not owned; without one, a password the keyring lacks is not found.
    void setPrompt(BoxPasswordPrompt *prompt);
    // Whether a password the keyring lacks can be asked for (find() reports cancelled otherwise).
    bool canAsk() const;

    // Memory, then the keyring, then the prompt (`wrongBefore` after a 401: the kept one is
    // forgotten first). `done` once, never before the call returns; `found` false when cancelled.
    void find(const FritzBoxSettings &box, bool wrongBefore,
              std::function<void(bool found, const QString &password)> done);
    // Keeps it in memory and stores it in the keyring where one answers; `problem` (German) says
    // why it is kept for this run only, empty when the keyring has it.
    void store(const FritzBoxSettings &box, const QString &password, std::function<void(const QString &problem)> done);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quirlanto
