#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

namespace quirlanto {

// One running copy per user: a later start hands its arguments over a local socket that only
// this user can open, and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // NoAnswer: a copy holds the socket but did not take the arguments (it hangs); starting a
    // second copy beside it would risk both writing the same files.
    enum class Start { Primary, HandedOver, NoAnswer, Failed };

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
    QString serverName() const { return m_serverName; }

signals:
    // In the running copy, for every later start.
    void argumentsReceived(const QStringList &arguments);

private:
    bool handOver(const QStringList &arguments, int timeoutMs);
    void acceptConnections();
    void readRequest(QLocalSocket *socket);

    QString m_serverName;
    QString m_error;
    QLocalServer *m_server = nullptr;
};

} // namespace quirlanto
