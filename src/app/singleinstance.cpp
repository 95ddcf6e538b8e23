#include "app/singleinstance.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>

#include <unistd.h>

namespace quirlanto {

namespace {

constexpr quint32 kMaxRequestBytes = 64 * 1024;
constexpr char kAcknowledge = 'A';

QByteArray encode(const QStringList &arguments)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << arguments;
    QByteArray message;
    QDataStream header(&message, QIODevice::WriteOnly);
    header << quint32(payload.size());
    return message + payload;
}

} // namespace

SingleInstance::SingleInstance(const QString &serverName, QObject *parent)
    : QObject(parent), m_serverName(serverName.isEmpty() ? socketPath() : serverName)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::socketPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir::cleanPath(runtime) + QLatin1String("/quirlanto.socket");
    return QDir::tempPath() + QStringLiteral("/quirlanto-%1.socket").arg(getuid());
}

SingleInstance::Start SingleInstance::start(const QStringList &arguments, int timeoutMs)
{
    // Two copies started together must not both find no server and both listen.
    QLockFile lock(m_serverName + QLatin1String(".lock"));
    lock.tryLock(timeoutMs);

    const QFileInfo existing(m_serverName);
    if (existing.exists() && existing.ownerId() != getuid()) {
        m_error = QStringLiteral("%1 gehört einem anderen Benutzer.").arg(m_serverName);
        return Start::Failed;
    }

    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (socket.waitForConnected(timeoutMs)) {
        socket.write(encode(arguments));
        char reply = 0;
        const bool acknowledged = socket.waitForBytesWritten(timeoutMs)
            && (socket.bytesAvailable() > 0 || socket.waitForReadyRead(timeoutMs))
            && socket.getChar(&reply) && reply == kAcknowledge;
        socket.abort();
        if (acknowledged)
            return Start::HandedOver;
        m_error = QStringLiteral("Quirlanto läuft bereits, reagiert aber nicht.");
        return Start::NoAnswer;
    }

    // Nobody answers: whatever is left at the name stems from a copy that did not end cleanly.
    QLocalServer::removeServer(m_serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_serverName)) {
        m_error = m_server->errorString();
        delete m_server;
        m_server = nullptr;
        return Start::Failed;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return Start::Primary;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        if (socket->bytesAvailable() > 0)
            readRequest(socket);
    }
}

void SingleInstance::readRequest(QLocalSocket *socket)
{
    if (socket->bytesAvailable() < qint64(sizeof(quint32)))
        return;
    quint32 size = 0;
    {
        QDataStream header(socket->peek(sizeof(quint32)));
        header >> size;
    }
    if (size > kMaxRequestBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < qint64(sizeof(quint32) + size))
        return;
    socket->skip(sizeof(quint32));
    QDataStream in(socket->read(size));
    in.setVersion(QDataStream::Qt_6_0);
    QStringList arguments;
    in >> arguments;
    if (in.status() != QDataStream::Ok) {
        socket->abort();
        return;
    }
    socket->putChar(kAcknowledge);
    socket->flush();
    socket->disconnectFromServer();
    // The reaction may open a modal question; it must not run inside this socket's signal.
    QMetaObject::invokeMethod(this, [this, arguments] { emit argumentsReceived(arguments); }, Qt::QueuedConnection);
}

} // namespace quirlanto
