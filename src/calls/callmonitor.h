#pragma once

#include "calls/callevents.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

namespace quirlanto {

namespace network {
class LineConnection;
}

// Keeps one connection to the router's call monitor and reports incoming calls. While the
// connection stands nothing runs but the socket; after a loss it tries again after a pause that
// doubles from 5 s up to 5 min, and starts from 5 s again once a connection has worked.
class CallMonitor : public QObject {
    Q_OBJECT
public:
    // Null when the network module cannot be loaded; `problem` says why.
    using ConnectionFactory = std::function<network::LineConnection *(QObject *parent, QString *problem)>;

    static constexpr int kMaxLineBytes = 1024;
    static constexpr int kFirstPauseMs = 5000;
    static constexpr int kLongestPauseMs = 5 * 60 * 1000;
    // A connection that held this long, or brought a line, counts as working.
    static constexpr int kWorkingMs = 60 * 1000;

    explicit CallMonitor(ConnectionFactory factory, QObject *parent = nullptr);
    ~CallMonitor() override;

    // `host` as in the settings: a TR-064 ":port" after it is not the monitor's.
    void start(const QString &host, int port);
    void stop();
    bool isRunning() const { return m_running; }
    int nextPauseMs() const { return m_pauseMs; }

    // For the tests of the pauses.
    void setFirstPauseMs(int ms) { m_firstPauseMs = m_pauseMs = ms; }

    static QString hostWithoutPort(const QString &host);

signals:
    void callUpdated(const quirlanto::CallUpdate &update);
    // Lost or not made; tried again after the pause.
    void connectionLost(const QString &problem);

private:
    void connectNow();
    void lineArrived(const QByteArray &line);
    void closed(const QString &problem);

    ConnectionFactory m_factory;
    QPointer<network::LineConnection> m_connection;
    QTimer m_retry; // runs only between a loss and the next try
    QElapsedTimer m_connectedFor;
    CallTracker m_tracker;
    QString m_host;
    quint16 m_port = 0;
    int m_firstPauseMs = kFirstPauseMs;
    int m_pauseMs = kFirstPauseMs;
    bool m_running = false;
    bool m_gotLine = false;
};

} // namespace quirlanto

Q_DECLARE_METATYPE(quirlanto::CallUpdate)
