#include "app/singleinstance.h"

#include "support/safefilewriter.h"
#include "support/startrequest.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace quirlanto {

namespace {

constexpr char kAcknowledge = 'A';

QString systemError(int error)
{
    return systemErrorText(error);
}

// Closes the descriptor when the scope ends, unless released.
struct FileDescriptor {
    int fd = -1;
    explicit FileDescriptor(int f)
        : fd(f)
    {}
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int release() { return std::exchange(fd, -1); }
};

bool socketAddress(const QString &path, sockaddr_un &address)
{
    const QByteArray encoded = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (encoded.isEmpty() || size_t(encoded.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    return true;
}

// In the form poll() takes: -1 waits for ever.
int remainingMs(const QDeadlineTimer &deadline)
{
    if (deadline.isForever())
        return -1;
    return int(qBound(qint64(0), deadline.remainingTime(), qint64(INT_MAX)));
}

// Waits for the descriptor to become readable or writable; false when the time runs out.
bool waitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    pollfd p{fd, events, 0};
    for (;;) {
        const int n = ::poll(&p, 1, remainingMs(deadline));
        if (n > 0)
            return true;
        if (n == 0 || errno != EINTR)
            return false;
    }
}

// A lock held by the kernel: it goes with the process, so a crash leaves nothing to clean up.
class StartLock {
public:
    StartLock(const QString &path, const QDeadlineTimer &deadline)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600))
    {
        if (m_fd < 0)
            return; // run on unlocked: the socket still tells a running copy
        // In a shared temporary folder somebody else could hold a lock file of that name.
        struct stat info {};
        if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != getuid()) {
            m_foreign = true;
            return;
        }
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR)
                return;
            if (deadline.hasExpired())
                return;
            QThread::msleep(5);
        }
    }
    bool foreign() const { return m_foreign; }
    ~StartLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    StartLock(const StartLock &) = delete;
    StartLock &operator=(const StartLock &) = delete;

private:
    int m_fd;
    bool m_foreign = false;
};

QString noAnswerMessage()
{
    return QStringLiteral("Quirlanto läuft bereits, reagiert aber nicht.");
}

QString foreignOwnerMessage(const QString &path)
{
    return QStringLiteral("%1 gehört einem anderen Benutzer.").arg(path);
}

// Only this user's copies may talk to each other, whatever the rights on the socket file say.
bool peerIsThisUser(int fd)
{
    ucred credentials{};
    socklen_t length = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 && credentials.uid == getuid();
}

constexpr int kClientTimeoutMs = 10000;
constexpr int kAcceptPauseMs = 1000;
// Connections held at once: a peer opening more must not use up the descriptors the window
// needs. A start sends at once, so the longest silent connections go first.
constexpr std::size_t kMaxClients = 32;

} // namespace

struct SingleInstance::Client {
    std::unique_ptr<QSocketNotifier> notifier;
    std::unique_ptr<QTimer> timeout;
    QByteArray received;
    quint64 lastActivity = 0; // of all clients, the lowest went quiet first
};

SingleInstance::SingleInstance(const QString &serverName, QObject *parent)
    : QObject(parent)
    , m_serverName(serverName.isEmpty() ? socketPath() : serverName)
{}

SingleInstance::~SingleInstance()
{
    for (auto &[fd, client] : m_clients)
        ::close(fd);
    m_clients.clear();
    if (m_listenFd >= 0) {
        // Only our own socket goes, and before the close: a copy starting meanwhile finds it
        // dead, makes its own, and that one must stay.
        const QByteArray path = QFile::encodeName(m_serverName);
        struct stat info {};
        if (::lstat(path.constData(), &info) == 0 && info.st_dev == m_socketDevice && info.st_ino == m_socketInode)
            ::unlink(path.constData());
        delete m_listenNotifier;
        ::close(m_listenFd);
    }
}

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
    const StartLock lock(m_serverName + QLatin1String(".lock"), QDeadlineTimer(timeoutMs));
    if (lock.foreign()) {
        m_error = foreignOwnerMessage(m_serverName + QLatin1String(".lock"));
        return Start::Failed;
    }

    const QByteArray path = QFile::encodeName(m_serverName);
    struct stat existing {};
    if (::lstat(path.constData(), &existing) == 0 && existing.st_uid != getuid()) {
        m_error = foreignOwnerMessage(m_serverName);
        return Start::Failed;
    }

    // Without the lock (it could not be had in time) another copy may be listening by now:
    // a name taken meanwhile sends this start to it after all.
    for (int attempt = 0; attempt < 2; ++attempt) {
        switch (handOver(arguments, timeoutMs)) {
        case HandOver::Done:
            return Start::HandedOver;
        case HandOver::NoAnswer:
            m_error = noAnswerMessage();
            return Start::NoAnswer;
        case HandOver::TooLong:
            m_error = QStringLiteral("Die Angaben beim Start sind zu lang, um sie dem laufenden Quirlanto zu "
                                     "übergeben.");
            return Start::TooLong;
        case HandOver::Foreign:
            m_error = foreignOwnerMessage(m_serverName);
            return Start::Failed;
        case HandOver::NoServer:
            break;
        }
        const Listen result = listen();
        if (result == Listen::Listening)
            return Start::Primary;
        if (result == Listen::Failed)
            return Start::Failed;
    }
    m_error = noAnswerMessage();
    return Start::NoAnswer;
}

SingleInstance::HandOver SingleInstance::handOver(const QStringList &arguments, int timeoutMs)
{
    sockaddr_un address;
    if (!socketAddress(m_serverName, address))
        return HandOver::NoServer; // listen() reports the unusable name
    FileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.fd < 0)
        return HandOver::NoServer;
    const QDeadlineTimer deadline(timeoutMs);
    while (::connect(socket.fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        if (errno == EINTR)
            continue;
        // A full backlog: the running copy is slow to accept, not gone.
        if (errno == EAGAIN && !deadline.hasExpired()) {
            QThread::msleep(5);
            continue;
        }
        return errno == EAGAIN ? HandOver::NoAnswer : HandOver::NoServer;
    }
    if (!peerIsThisUser(socket.fd))
        return HandOver::Foreign;

    const QByteArray message = encodeStartRequest(arguments);
    if (message.size() > qsizetype(sizeof(quint32) + kMaxStartRequestBytes))
        return HandOver::TooLong;
    qsizetype written = 0;
    while (written < message.size()) {
        const ssize_t n =
            ::send(socket.fd, message.constData() + written, size_t(message.size() - written), MSG_NOSIGNAL);
        if (n > 0)
            written += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else if (n < 0 && errno == EAGAIN && waitFor(socket.fd, POLLOUT, deadline))
            continue;
        else
            return HandOver::NoAnswer;
    }
    char reply = 0;
    for (;;) {
        const ssize_t n = ::recv(socket.fd, &reply, 1, 0);
        if (n == 1)
            return reply == kAcknowledge ? HandOver::Done : HandOver::NoAnswer;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN && waitFor(socket.fd, POLLIN, deadline))
            continue;
        return HandOver::NoAnswer;
    }
}

SingleInstance::Listen SingleInstance::listen()
{
    sockaddr_un address;
    if (!socketAddress(m_serverName, address)) {
        m_error = QStringLiteral("Der Name „%1“ ist als Socket zu lang.").arg(m_serverName);
        return Listen::Failed;
    }
    FileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.fd < 0) {
        m_error = systemError(errno);
        return Listen::Failed;
    }
    // Nobody answers: whatever is left at the name stems from a copy that did not end cleanly.
    // (A socket of ours that refuses connections; anything else at the name stays.)
    struct stat existing {};
    if (::lstat(address.sun_path, &existing) == 0 && S_ISSOCK(existing.st_mode) && existing.st_uid == getuid()) {
        const FileDescriptor probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        if (probe.fd >= 0 && ::connect(probe.fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
            && errno == ECONNREFUSED)
            ::unlink(address.sun_path);
    }
    // Only this user may hand over arguments: the socket is created without rights for others.
    ::fchmod(socket.fd, 0600);
    if (::bind(socket.fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        if (errno == EADDRINUSE)
            return Listen::NameTaken;
        m_error = QStringLiteral("%1: %2").arg(m_serverName, systemError(errno));
        return Listen::Failed;
    }
    struct stat bound {};
    if (::chmod(address.sun_path, 0600) != 0 || ::lstat(address.sun_path, &bound) != 0
        || ::listen(socket.fd, 16) != 0) {
        m_error = QStringLiteral("%1: %2").arg(m_serverName, systemError(errno));
        ::unlink(address.sun_path);
        return Listen::Failed;
    }
    m_socketDevice = bound.st_dev;
    m_socketInode = bound.st_ino;
    m_listenFd = socket.release();
    m_listenNotifier = new QSocketNotifier(m_listenFd, QSocketNotifier::Read, this);
    connect(m_listenNotifier, &QSocketNotifier::activated, this, &SingleInstance::acceptConnections);
    return Listen::Listening;
}

void SingleInstance::acceptConnections()
{
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno != EAGAIN) {
                // Out of descriptors or memory: the waiting connection would wake us at once again.
                m_listenNotifier->setEnabled(false);
                QTimer::singleShot(kAcceptPauseMs, m_listenNotifier,
                                   [notifier = m_listenNotifier] { notifier->setEnabled(true); });
            }
            return;
        }
        if (!peerIsThisUser(fd)) {
            ::close(fd);
            continue;
        }
        if (m_clients.size() >= kMaxClients) {
            const auto quietest =
                std::min_element(m_clients.begin(), m_clients.end(), [](const auto &a, const auto &b) {
                    return a.second->lastActivity < b.second->lastActivity;
                });
            dropClient(quietest->first);
        }
        auto client = std::make_unique<Client>();
        client->lastActivity = ++m_activityCount;
        client->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(client->notifier.get(), &QSocketNotifier::activated, this, [this, fd] { readRequest(fd); });
        // A sender that stops half-way does not keep its connection for ever.
        client->timeout = std::make_unique<QTimer>();
        client->timeout->setSingleShot(true);
        connect(client->timeout.get(), &QTimer::timeout, this, [this, fd] { dropClient(fd); });
        client->timeout->start(kClientTimeoutMs);
        m_clients.emplace(fd, std::move(client));
        readRequest(fd);
    }
}

void SingleInstance::readRequest(int fd)
{
    const auto it = m_clients.find(fd);
    if (it == m_clients.end())
        return;
    Client &client = *it->second;
    bool ended = false; // closed by the other side, or failed
    char buffer[4096];
    while (client.received.size() <= qsizetype(sizeof(quint32) + kMaxStartRequestBytes)) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            client.received.append(buffer, n);
            client.lastActivity = ++m_activityCount;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            ended = n == 0 || errno != EAGAIN;
            break;
        }
    }

    const StartRequest request = decodeStartRequest(client.received, ended);
    if (request.status == StartRequest::Status::Incomplete)
        return;
    if (request.status == StartRequest::Status::Invalid) {
        dropClient(fd);
        return;
    }
    // One byte into an empty socket buffer does not block.
    ::send(fd, &kAcknowledge, 1, MSG_NOSIGNAL);
    dropClient(fd);
    // The reaction may open a modal question; it must not run inside this socket's signal.
    QMetaObject::invokeMethod(
        this, [this, arguments = request.arguments] { emit argumentsReceived(arguments); }, Qt::QueuedConnection);
}

void SingleInstance::dropClient(int fd)
{
    const auto it = m_clients.find(fd);
    if (it == m_clients.end())
        return;
    // The notifier goes first: it must not watch a closed descriptor. Deleted later, as this
    // may run inside its own signal.
    it->second->notifier->setEnabled(false);
    it->second->notifier.release()->deleteLater();
    it->second->timeout.release()->deleteLater();
    m_clients.erase(it);
    ::close(fd);
}

} // namespace quirlanto
