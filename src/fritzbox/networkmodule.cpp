// Built as the module lib/quirlanto-network.so; see networkmodule.h.
#include "fritzbox/networkmodule.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QHash>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTcpSocket>
#include <QTimer>

#include <qt6keychain/keychain.h>

#include <type_traits>

namespace {

using namespace quirlanto::network;

// Runs `f` from the event loop: the interface promises never to answer before the call returns.
template <typename F>
void later(QObject *context, F f)
{
    QMetaObject::invokeMethod(context, std::move(f), Qt::QueuedConnection);
}

class QtHttpClient final : public HttpClient {
public:
    using HttpClient::HttpClient;

    void send(const HttpRequest &request, std::function<void(const HttpAnswer &)> done) override
    {
        // A manager per request: one that remembers credentials would offer an old password
        // before the new one and pass a check it should fail.
        auto *manager = new QNetworkAccessManager(this);
        // The router is on the home network; a proxy from the environment would not reach it.
        manager->setProxy(QNetworkProxy::NoProxy);
        QNetworkRequest r(request.url);
        r.setTransferTimeout(0);
        r.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        for (const auto &[name, value] : request.headers)
            r.setRawHeader(name, value);
        QNetworkReply *reply = manager->sendCustomRequest(r, request.method, request.body);
        Running &running = m_running[reply];
        running.manager = manager;
        running.done = std::move(done);

        const QString user = request.user;
        const QString password = request.password;
        connect(manager, &QNetworkAccessManager::authenticationRequired, this,
                [this, user, password](QNetworkReply *r, QAuthenticator *authenticator) {
                    auto it = m_running.find(r);
                    if (it == m_running.end())
                        return;
                    // Asked again for the same reply: the router refused what was offered.
                    // Credentials left empty end the reply with AuthenticationRequiredError.
                    if (it->offered)
                        return;
                    it->offered = true;
                    authenticator->setUser(user);
                    authenticator->setPassword(password);
                });
        auto *timer = new QTimer(manager);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, reply] {
            if (auto it = m_running.find(reply); it != m_running.end()) {
                it->timedOut = true;
                reply->abort();
            }
        });
        timer->start(request.timeoutMs);
        connect(reply, &QNetworkReply::finished, this, [this, reply] { finish(reply); });
    }

    void abortAll() override
    {
        const auto running = std::exchange(m_running, {});
        for (auto it = running.begin(); it != running.end(); ++it) {
            it.key()->disconnect(this);
            it.key()->abort();
            it->manager->deleteLater();
        }
    }

    ~QtHttpClient() override { abortAll(); }

private:
    struct Running {
        QNetworkAccessManager *manager = nullptr;
        std::function<void(const HttpAnswer &)> done;
        bool offered = false;
        bool timedOut = false;
    };

    void finish(QNetworkReply *reply)
    {
        auto it = m_running.find(reply);
        if (it == m_running.end())
            return;
        const Running running = *it;
        m_running.erase(it);
        running.manager->deleteLater();

        HttpAnswer answer;
        answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        answer.body = reply->readAll();
        answer.problem = reply->errorString();
        switch (reply->error()) {
        case QNetworkReply::NoError:
            break;
        case QNetworkReply::HostNotFoundError:
            answer.failure = HttpFailure::HostNotFound;
            break;
        case QNetworkReply::ConnectionRefusedError:
            answer.failure = HttpFailure::ConnectionRefused;
            break;
        case QNetworkReply::TimeoutError:
            answer.failure = HttpFailure::Timeout;
            break;
        case QNetworkReply::OperationCanceledError:
            answer.failure = running.timedOut ? HttpFailure::Timeout : HttpFailure::Other;
            break;
        case QNetworkReply::AuthenticationRequiredError:
            answer.failure = HttpFailure::Unauthorized;
            break;
        default:
            // An HTTP error status (a SOAP fault comes with 500) is an answer, not a failure.
            if (answer.status == 0)
                answer.failure = HttpFailure::Other;
            break;
        }
        if (answer.failure == HttpFailure::None)
            answer.problem.clear();
        running.done(answer);
    }

    QHash<QNetworkReply *, Running> m_running;
};

class TcpLineConnection final : public LineConnection {
public:
    using LineConnection::LineConnection;

    void open(const QString &host, quint16 port, int maxLineBytes, std::function<void(const QByteArray &)> line,
              std::function<void(const QString &)> closed) override
    {
        close();
        m_socket = new QTcpSocket(this);
        m_socket->setProxy(QNetworkProxy::NoProxy);
        m_maxLineBytes = qMax(1, maxLineBytes);
        m_line = std::move(line);
        m_closed = std::move(closed);
        m_buffer.clear();
        m_dropping = false;
        QTcpSocket *socket = m_socket;
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { end(socket, {}); });
        connect(socket, &QTcpSocket::errorOccurred, this,
                [this, socket](QAbstractSocket::SocketError) { end(socket, socket->errorString()); });
        socket->connectToHost(host, port);
    }

    void close() override
    {
        if (!m_socket)
            return;
        QTcpSocket *socket = std::exchange(m_socket, nullptr);
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
        m_line = nullptr;
        m_closed = nullptr;
    }

    ~TcpLineConnection() override { close(); }

private:
    void read(QTcpSocket *socket)
    {
        char chunk[4096];
        while (socket == m_socket) {
            const qint64 n = socket->read(chunk, sizeof chunk);
            if (n <= 0)
                return;
            for (qint64 i = 0; i < n && socket == m_socket; ++i) {
                const char c = chunk[i];
                if (c == '\n') {
                    const QByteArray text = std::exchange(m_buffer, {});
                    const bool dropped = std::exchange(m_dropping, false);
                    if (!dropped)
                        m_line(text.endsWith('\r') ? text.chopped(1) : text);
                } else if (!m_dropping) {
                    // Only the '\r' before the line end may go beyond the limit.
                    if (m_buffer.size() > m_maxLineBytes || (m_buffer.size() == m_maxLineBytes && c != '\r')) {
                        m_buffer.clear();
                        m_dropping = true;
                    } else {
                        m_buffer.append(c);
                    }
                }
            }
        }
    }

    void end(QTcpSocket *socket, const QString &problem)
    {
        if (socket != m_socket)
            return;
        const auto closed = m_closed;
        close();
        if (closed)
            closed(problem);
    }

    QTcpSocket *m_socket = nullptr;
    int m_maxLineBytes = 0;
    QByteArray m_buffer;
    bool m_dropping = false;
    std::function<void(const QByteArray &)> m_line;
    std::function<void(const QString &)> m_closed;
};

const QString kService = QStringLiteral("Quirlanto");

KeyringResult keyringResult(QKeychain::Error error)
{
    switch (error) {
    case QKeychain::NoError:
        return KeyringResult::Done;
    case QKeychain::EntryNotFound:
        return KeyringResult::NotFound;
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
    case QKeychain::OtherError: // what a desktop without a Secret Service answers
        return KeyringResult::NoKeyring;
    default:
        return KeyringResult::Failed;
    }
}

} // namespace

extern "C" Q_DECL_EXPORT HttpClient *quirlantoCreateHttpClient(QObject *parent)
{
    return new QtHttpClient(parent);
}

extern "C" Q_DECL_EXPORT LineConnection *quirlantoCreateLineConnection(QObject *parent)
{
    return new TcpLineConnection(parent);
}

extern "C" Q_DECL_EXPORT void
quirlantoReadPassword(const QString &key, std::function<void(KeyringResult, const QString &, const QString &)> done)
{
    auto *job = new QKeychain::ReadPasswordJob(kService, QCoreApplication::instance());
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(key);
    QObject::connect(job, &QKeychain::Job::finished, QCoreApplication::instance(), [done](QKeychain::Job *j) {
        const auto *read = static_cast<QKeychain::ReadPasswordJob *>(j);
        const KeyringResult result = keyringResult(read->error());
        const QString password = result == KeyringResult::Done ? read->textData() : QString();
        const QString problem = read->errorString();
        later(QCoreApplication::instance(), [done, result, password, problem] { done(result, password, problem); });
    });
    job->start();
}

extern "C" Q_DECL_EXPORT void quirlantoWritePassword(const QString &key, const QString &password,
                                                     std::function<void(KeyringResult, const QString &)> done)
{
    auto *job = new QKeychain::WritePasswordJob(kService, QCoreApplication::instance());
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(key);
    job->setTextData(password);
    QObject::connect(job, &QKeychain::Job::finished, QCoreApplication::instance(), [done](QKeychain::Job *j) {
        const KeyringResult result = keyringResult(j->error());
        const QString problem = j->errorString();
        later(QCoreApplication::instance(), [done, result, problem] { done(result, problem); });
    });
    job->start();
}

static_assert(std::is_same_v<decltype(&quirlantoCreateHttpClient), CreateHttpClientFunction>);
static_assert(std::is_same_v<decltype(&quirlantoCreateLineConnection), CreateLineConnectionFunction>);
static_assert(std::is_same_v<decltype(&quirlantoReadPassword), ReadPasswordFunction>);
static_assert(std::is_same_v<decltype(&quirlantoWritePassword), WritePasswordFunction>);
