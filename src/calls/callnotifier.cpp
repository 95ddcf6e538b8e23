#include "calls/callnotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace quirlanto {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

} // namespace

CallNotifier::CallNotifier(Fallback fallback, QObject *parent)
    : QObject(parent)
    , m_fallback(std::move(fallback))
{}

CallNotifier::~CallNotifier() = default;

void CallNotifier::show(int key, const QString &summary, const QString &body, const QStringList &actions, bool stays)
{
    if (const auto found = m_shown.find(key); found != m_shown.end() && found->waiting) {
        found->afterReply = [=, this] { notify(key, summary, body, actions, stays); };
        return;
    }
    notify(key, summary, body, actions, stays);
}

void CallNotifier::notify(int key, const QString &summary, const QString &body, const QStringList &actions, bool stays)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        m_shown.remove(key);
        m_fallback(summary, body);
        return;
    }
    if (!m_listening) {
        bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                    SLOT(onActionInvoked(uint, QString)));
        bus.connect(QString(), kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                    SLOT(onClosed(uint, uint)));
        m_listening = true;
    }
    Shown &shown = m_shown[key];
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("quirlanto"));
    hints.insert(QStringLiteral("category"), QStringLiteral("im.received"));
    if (stays)
        hints.insert(QStringLiteral("resident"), true);
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call << QStringLiteral("Quirlanto") << shown.id << QStringLiteral("quirlanto") << summary << body << actions
         << hints << (stays ? 0 : -1);
    shown.waiting = true;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [=, this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<uint> reply = *w;
        const auto found = m_shown.find(key);
        if (found == m_shown.end())
            return;
        if (reply.isError()) {
            // No notification service on this desktop.
            m_shown.erase(found);
            m_fallback(summary, body);
            return;
        }
        found->id = reply.value();
        found->waiting = false;
        if (const auto next = std::exchange(found->afterReply, nullptr))
            next();
    });
}

void CallNotifier::close(int key)
{
    const auto found = m_shown.find(key);
    if (found == m_shown.end())
        return;
    if (found->waiting) {
        found->afterReply = [this, key] { close(key); };
        return;
    }
    const uint id = found->id;
    m_shown.erase(found);
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("CloseNotification"));
    call << id;
    QDBusConnection::sessionBus().asyncCall(call);
}

void CallNotifier::onActionInvoked(uint id, const QString &action)
{
    // A notification being replaced keeps its id: a click on it still counts.
    for (auto it = m_shown.cbegin(); it != m_shown.cend(); ++it)
        if (it->id != 0 && it->id == id) {
            emit actionInvoked(it.key(), action);
            return;
        }
}

void CallNotifier::onClosed(uint id, uint)
{
    for (auto it = m_shown.begin(); it != m_shown.end(); ++it)
        if (it->id == id && !it->waiting) {
            m_shown.erase(it);
            return;
        }
}

} // namespace quirlanto
