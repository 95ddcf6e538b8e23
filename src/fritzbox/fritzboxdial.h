#pragma once

#include "dial/dialbackend.h"
#include "fritzbox/fritzboxlink.h"

#include <QTimer>

#include <functional>

namespace quirlanto {

// Dials through the router's dialing help: the chosen phone rings, and when its handset is
// lifted the router dials. The router reports nothing after accepting the number, so the window
// "Anwahl" stays for a while, its "Abbruch" hanging up, and the dial then counts as done.
class FritzBoxDial final : public DialBackend {
    Q_OBJECT
public:
    static constexpr int kHoldMs = 30000;

    // `settings` is read at each dial: the user may have changed them since.
    FritzBoxDial(FritzBoxLink &link, BoxPasswords &passwords, std::function<FritzBoxSettings()> settings,
                 int holdMs = kHoldMs, QObject *parent = nullptr);
    void start(const DialRequest &request) override;
    void cancel() override;
    bool showsProgress() const override { return true; }

private:
    void attempt(quint64 dial, const QString &password);
    void askAgain(quint64 dial, const BoxProblem &refused);
    void end(const DialResult &result);

    FritzBoxLink &m_link;
    BoxPasswords &m_passwords;
    std::function<FritzBoxSettings()> m_settings;
    QTimer m_hold;
    quint64 m_dial = 0; // tells a late answer of an ended dial from the current one
    bool m_running = false;
    bool m_sent = false; // the router may be dialing: "Abbruch" hangs up
    BoxAccess m_access;
    QString m_digits;
};

} // namespace quirlanto
