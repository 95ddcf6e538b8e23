#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <map>
#include <memory>

class QSocketNotifier;

namespace quirlanto {

// One running copy per user: a later start hands its arguments over a local socket that only
// this user can open, and ends. Plain sockets rather than the Qt network module: loading that
// module and what it pulls in would slow every start.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // NoAnswer: a copy holds the socket but did not take the arguments (it hangs); starting a
    // second copy beside it would risk both writing the same files.
    // TooLong: a copy runs, but the arguments are more than it takes; nothing was handed over.
    enum class Start { Primary, HandedOver, NoAnswer, TooLong, Failed };

    // serverName empty: socketPath() for this user.
    explicit SingleInstance(const QString &serverName = {}, QObject *parent = nullptr);
    ~SingleInstance() override;

    // $XDG_RUNTIME_DIR/quirlanto.socket, or a per-user name in the temporary folder.
    static QString socketPath();

    // Hands the arguments to a running copy (HandedOver: this copy should end) or becomes the
    // running copy (Primary). A socket left by a crashed copy is removed. Failed means
    // neither worked; errorString() says why and the caller may run on alone.
    Start start(const QStringList &arguments, int timeoutMs = 3000);
    QString errorString() const { return m_error; }

signals:
    // In the running copy, for every later start.
    void argumentsReceived(const QStringList &arguments);

private:
    struct Client;

    // Foreign: another user listens at the name.
    enum class HandOver { Done, NoServer, NoAnswer, TooLong, Foreign };
    HandOver handOver(const QStringList &arguments, int timeoutMs);
    // NameTaken: another copy began listening meanwhile.
    enum class Listen { Listening, NameTaken, Failed };
    Listen listen();
    void acceptConnections();
    void readRequest(int fd);
    void dropClient(int fd);

    QString m_serverName;
    QString m_error;
    int m_listenFd = -1;
    // The socket file this copy made: only that one is removed at the end.
    quint64 m_socketDevice = 0;
    quint64 m_socketInode = 0;
    QSocketNotifier *m_listenNotifier = nullptr;
    std::map<int, std::unique_ptr<Client>> m_clients;
    quint64 m_activityCount = 0;
};

} // namespace quirlanto
