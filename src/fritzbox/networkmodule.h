#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>

// The network and the keyring live in a module of their own (lib/quirlanto-network.so in a
// program folder, moduleDirectory() when installed system-wide), loaded on the first use of the
// router: QtNetwork and the keyring library would otherwise slow every start, and most starts
// never talk to a router. Module and program are built together, so Qt's types cross.
namespace quirlanto::network {

// One HTTP request. Digest authentication (the router challenges every first request) is
// answered with user and password.
struct HttpRequest {
    QByteArray method = "POST";
    QUrl url;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    QString user;
    QString password;
    int timeoutMs = 10000;
};

enum class HttpFailure : int {
    None = 0,         // an answer came; see status
    HostNotFound = 1, // the name does not resolve
    ConnectionRefused = 2,
    Timeout = 3,      // nothing answered in time
    Unauthorized = 4, // 401 after user and password were offered
    Other = 5,        // see problem
};

struct HttpAnswer {
    HttpFailure failure = HttpFailure::None;
    int status = 0;
    QByteArray body;
    QString problem; // the system's own words, for Other and the log
};

// Delete with deleteLater() only: answers are delivered from the event loop.
class HttpClient : public QObject {
public:
    using QObject::QObject;
    // `done` runs exactly once, on this thread, never before send() returns.
    virtual void send(const HttpRequest &request, std::function<void(const HttpAnswer &)> done) = 0;
    // Drops every running request; their `done` does not run.
    virtual void abortAll() = 0;
};

// A TCP connection that hands over text lines (without the line end). A line longer than
// maxLineBytes is dropped unread, so a flood cannot grow memory.
class LineConnection : public QObject {
public:
    using QObject::QObject;
    // `line` for each line; `closed` once when the connection ends, is refused or cannot be
    // made (problem in the system's words). Reconnecting is the caller's business.
    virtual void open(const QString &host, quint16 port, int maxLineBytes, std::function<void(const QByteArray &)> line,
                      std::function<void(const QString &problem)> closed) = 0;
    virtual void close() = 0;
};

enum class KeyringResult : int {
    Done = 0,      // read: found; write: stored
    NotFound = 1,  // read only: nothing stored under the key
    NoKeyring = 2, // no keyring answers on this desktop
    Failed = 3,    // see problem
};

using CreateHttpClientFunction = HttpClient *(*)(QObject *parent);
using CreateLineConnectionFunction = LineConnection *(*)(QObject *parent);
// `done` runs once, on this thread, never before the call returns.
using ReadPasswordFunction = void (*)(
    const QString &key, std::function<void(KeyringResult, const QString &password, const QString &problem)> done);
using WritePasswordFunction = void (*)(const QString &key, const QString &password,
                                       std::function<void(KeyringResult, const QString &problem)> done);

inline constexpr char kCreateHttpClientSymbol[] = "quirlantoCreateHttpClient";
inline constexpr char kCreateLineConnectionSymbol[] = "quirlantoCreateLineConnection";
inline constexpr char kReadPasswordSymbol[] = "quirlantoReadPassword";
inline constexpr char kWritePasswordSymbol[] = "quirlantoWritePassword";
inline constexpr char kModuleFile[] = "lib/quirlanto-network.so"; // in a program folder
inline constexpr char kModuleName[] = "quirlanto-network.so";

} // namespace quirlanto::network
