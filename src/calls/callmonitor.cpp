#include "calls/callmonitor.h"

#include "fritzbox/networkmodule.h"

#include <QUrl>

namespace quirlanto {

CallMonitor::CallMonitor(ConnectionFactory factory, QObject *parent)
    : QObject(parent)
    , m_factory(std::move(factory))
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &CallMonitor::connectNow);
}

CallMonitor::~CallMonitor()
{
    stop();
}

QString CallMonitor::hostWithoutPort(const QString &host)
{
    const QUrl url(QStringLiteral("http://") + host.trimmed());
    return url.isValid() && !url.host().isEmpty() ? url.host() : host.trimmed();
}

void CallMonitor::start(const QString &host, int port)
{
    stop();
    m_host = hostWithoutPort(host);
    m_port = quint16(port);
    m_running = true;
    m_pauseMs = m_firstPauseMs;
    connectNow();
}

void CallMonitor::stop()
{
    m_running = false;
    m_retry.stop();
    if (m_connection) {
        // Its `closed` must not schedule another try.
        network::LineConnection *connection = m_connection;
        m_connection = nullptr;
        connection->close();
        connection->deleteLater();
    }
    m_tracker = CallTracker();
}

void CallMonitor::connectNow()
{
    if (!m_running)
        return;
    QString problem;
    network::LineConnection *connection = m_factory(this, &problem);
    if (!connection) {
        closed(problem);
        return;
    }
    m_connection = connection;
    m_gotLine = false;
    m_connectedFor.start();
    connection->open(
        m_host, m_port, kMaxLineBytes,
        [this, connection](const QByteArray &line) {
            if (connection == m_connection)
                lineArrived(line);
        },
        [this, connection](const QString &why) {
            if (connection != m_connection)
                return;
            m_connection = nullptr;
            connection->deleteLater();
            closed(why);
        });
}

void CallMonitor::lineArrived(const QByteArray &line)
{
    m_gotLine = true;
    if (const std::optional<MonitorEvent> event = parseMonitorLine(line))
        if (const std::optional<CallUpdate> update = m_tracker.take(*event))
            emit callUpdated(*update);
}

void CallMonitor::closed(const QString &problem)
{
    if (!m_running)
        return;
    if (m_gotLine || (m_connectedFor.isValid() && m_connectedFor.elapsed() >= kWorkingMs))
        m_pauseMs = m_firstPauseMs;
    m_connectedFor.invalidate();
    // A call open at the loss would otherwise ring on in the tracker.
    m_tracker = CallTracker();
    emit connectionLost(problem);
    m_retry.start(m_pauseMs);
    m_pauseMs = std::min(m_pauseMs * 2, kLongestPauseMs);
}

} // namespace quirlanto
