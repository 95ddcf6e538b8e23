#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>

#include <functional>

namespace quirlanto {

// Desktop notifications through org.freedesktop.Notifications on the session bus. Nothing waits
// for the bus: where no notification service answers, the message goes to `fallback` (the tray's
// balloon) instead. Each notification is known by a key of the caller's choosing.
class CallNotifier : public QObject {
    Q_OBJECT
public:
    using Fallback = std::function<void(const QString &summary, const QString &body)>;
    explicit CallNotifier(Fallback fallback, QObject *parent = nullptr);
    ~CallNotifier() override;

    // `actions`: pairs of a name and its caption. Shows anew, or replaces the one under `key`.
    void show(int key, const QString &summary, const QString &body, const QStringList &actions, bool stays);
    void close(int key);

signals:
    void actionInvoked(int key, const QString &action);

private Q_SLOTS:
    void onActionInvoked(uint id, const QString &action);
    void onClosed(uint id, uint reason);

private:
    struct Shown {
        uint id = 0;
        bool waiting = false;             // Notify has not answered yet
        std::function<void()> afterReply; // what came meanwhile
    };
    void notify(int key, const QString &summary, const QString &body, const QStringList &actions, bool stays);

    Fallback m_fallback;
    QHash<int, Shown> m_shown;
    bool m_listening = false;
};

} // namespace quirlanto
