#pragma once

#include "calls/callmonitor.h"
#include "calls/callnotifier.h"
#include "options/settings.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>

#include <memory>

namespace quirlanto {

class CallListModel;
class CallListWindow;
class CallStore;
class NumberIndex;
class RegisterDocument;

// Who is calling and whom the user called: the router's call monitor, the notifications of
// incoming calls and the call list, each made at its first use.
class CallSession : public QObject {
    Q_OBJECT
public:
    CallSession(RegisterDocument &book, const QString &callListPath, CallMonitor::ConnectionFactory connections,
                CallNotifier::Fallback fallback, QWidget *dialogParent, QObject *parent = nullptr);
    ~CallSession() override;

    // After the first paint: connects to the router when "Anrufe anzeigen" is on, and from now on
    // follows that setting.
    void startMonitor();
    CallMonitor &monitor() { return *m_monitor; }

    void recordDial(const QDateTime &time, const QString &internationalNumber, const QString &name, DialDevice device);
    void showCallList();
    CallListWindow *callListWindow() const;
    CallStore &store();

    static QString deviceName(DialDevice device);
    // The notification's texts; `caller` as the router wrote it, `name` from the register.
    static QString ringingSummary(const QString &caller, const QString &name);
    static QString missedSummary(const QString &caller, const QString &name);

signals:
    void callBackRequested(const QString &internationalNumber, const QString &name);
    void addToRegisterRequested(const QString &internationalNumber);

private:
    struct Caller {
        int key = 0;
        QString written; // as the router sent it
        QString international;
        QString name;
        QString cardLine; // "\nKarte „…“" for a known caller
    };
    void followSetting();
    void callUpdated(const CallUpdate &update);
    void actionInvoked(int key, const QString &action);
    CallNotifier &notifier();
    QStringList actionsFor(const Caller &caller) const;

    RegisterDocument &m_book;
    QString m_callListPath;
    CallMonitor *m_monitor;
    CallNotifier::Fallback m_fallback;
    QPointer<QWidget> m_dialogParent;
    std::unique_ptr<NumberIndex> m_index;
    CallStore *m_store = nullptr;
    CallListModel *m_model = nullptr;
    QPointer<CallListWindow> m_window;
    CallNotifier *m_notifier = nullptr;
    QHash<int, Caller> m_ringing;  // by the router's connection
    QHash<int, Caller> m_notified; // by notification key, for the actions
    int m_lastKey = 0;
    bool m_monitorStarted = false;
    FritzBoxSettings m_applied;
};

} // namespace quirlanto
