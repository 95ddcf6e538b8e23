#include "support/desktopopen.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace quirlanto {

namespace {

// What the go-between tells through its pipe: 'f' its fork or 'x' the exec failed (errno),
// 'e' the program ended (wait status), 'r' it still runs. Far below PIPE_BUF: never torn.
struct Report {
    char kind;
    int value;
};

void report(int fd, char kind, int value)
{
    const Report r{kind, value};
    [[maybe_unused]] const ssize_t written = ::write(fd, &r, sizeof r);
}

qint64 monotonicMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Runs between fork() and _exit(): async-signal-safe calls only. Starts the program as its own
// child and waits for it at most `waitMs`; then kills it (`killLate`) or ends, which orphans it
// to the system, which reaps it.
[[noreturn]] void goBetween(int reportFd, int outputFd, int nullFd, char *const argv[], int waitMs, bool killLate)
{
    const pid_t child = ::fork();
    if (child < 0) {
        report(reportFd, 'f', errno);
        ::_exit(1);
    }
    if (child == 0) {
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        struct sigaction byDefault = {};
        byDefault.sa_handler = SIG_DFL;
        ::sigaction(SIGPIPE, &byDefault, nullptr);
        ::dup2(nullFd, 0);
        ::dup2(outputFd, 1);
        ::dup2(nullFd, 2);
        ::execv(argv[0], argv);
        report(reportFd, 'x', errno);
        ::_exit(127);
    }
    const qint64 deadline = monotonicMs() + waitMs;
    int status = 0;
    do {
        if (::waitpid(child, &status, WNOHANG) == child) {
            report(reportFd, 'e', status);
            ::_exit(0);
        }
        const timespec pause{0, 20'000'000};
        ::nanosleep(&pause, nullptr);
    } while (monotonicMs() < deadline);
    if (killLate) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        report(reportFd, 'e', status);
    } else {
        report(reportFd, 'r', 0);
    }
    ::_exit(0);
}

DesktopHandOff verdict(const QByteArray &reports)
{
    DesktopHandOff result;
    for (qsizetype at = 0; at + qsizetype(sizeof(Report)) <= reports.size(); at += sizeof(Report)) {
        Report r{};
        std::memcpy(&r, reports.constData() + at, sizeof r);
        if (r.kind == 'f' || r.kind == 'x')
            return {false, qt_error_string(r.value)};
        result.handedOver = r.kind == 'r' || (WIFEXITED(r.value) && WEXITSTATUS(r.value) == 0);
    }
    return result;
}

// Runs `program` as the child of a go-between process that ends after `waitMs` at the latest, so
// nothing of the program stays with us: no child, no descriptor. `done` runs once it has ended,
// with what the program wrote when `killLate` (a question, killed when late; up to a pipe's worth).
void runThroughGoBetween(const QString &program, const QStringList &arguments, int waitMs, bool killLate,
                         std::function<void(const DesktopHandOff &, const QByteArray &output)> done)
{
    const auto fail = [&done](int error) {
        QTimer::singleShot(0, [done = std::move(done), error] { done({false, qt_error_string(error)}, {}); });
    };
    const QString path = program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return fail(ENOENT);
    // After fork() nothing may allocate: everything the go-between uses is made here.
    QByteArrayList strings{QFile::encodeName(path)};
    for (const QString &argument : arguments)
        strings.append(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &string : strings)
        argv.push_back(string.data());
    argv.push_back(nullptr);
    int reportPipe[2] = {-1, -1};
    int outputPipe[2] = {-1, -1};
    const int nullFd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    pid_t pid = -1;
    if (nullFd >= 0 && ::pipe2(reportPipe, O_CLOEXEC) == 0 && (!killLate || ::pipe2(outputPipe, O_CLOEXEC) == 0))
        pid = ::fork();
    if (pid == 0)
        goBetween(reportPipe[1], killLate ? outputPipe[1] : nullFd, nullFd, argv.data(), waitMs, killLate);
    const int error = errno;
    if (nullFd >= 0)
        ::close(nullFd);
    if (pid < 0) {
        for (const int fd : {reportPipe[0], reportPipe[1], outputPipe[0], outputPipe[1]})
            if (fd >= 0)
                ::close(fd);
        return fail(error);
    }
    ::close(reportPipe[1]);
    if (killLate)
        ::close(outputPipe[1]);
    auto *notifier = new QSocketNotifier(reportPipe[0], QSocketNotifier::Read);
    QObject::connect(
        notifier, &QSocketNotifier::activated, notifier,
        [notifier, pid, outputFd = outputPipe[0], done = std::move(done), reports = QByteArray()]() mutable {
            char buffer[512];
            const int reportFd = int(notifier->socket());
            const ssize_t got = ::read(reportFd, buffer, sizeof buffer);
            if (got > 0 || (got < 0 && errno == EINTR)) {
                reports.append(buffer, std::max<ssize_t>(got, 0));
                return;
            }
            // Closed by the go-between's end: it is gone or about to be.
            notifier->setEnabled(false);
            notifier->deleteLater();
            ::close(reportFd);
            ::waitpid(pid, nullptr, 0);
            // The program has ended; what it left behind may still hold the pipe.
            QByteArray output;
            if (outputFd >= 0) {
                ::fcntl(outputFd, F_SETFL, O_NONBLOCK);
                for (ssize_t n; (n = ::read(outputFd, buffer, sizeof buffer)) > 0;)
                    output.append(buffer, n);
                ::close(outputFd);
            }
            done(verdict(reports), output);
        });
}

} // namespace

void openWithDesktop(const QString &program, const QString &target, std::function<void(const DesktopHandOff &)> done,
                     int handOverMs)
{
    // A program that stays (xdg-open waits for the phone program it started) is let go after the
    // hand-over: as our child it would keep a descriptor and a process slot for its lifetime.
    runThroughGoBetween(program, {target}, handOverMs, false,
                        [done = std::move(done)](const DesktopHandOff &result, const QByteArray &) { done(result); });
}

void openWithDesktop(const QString &program, const QString &target, std::function<void(bool handedOver)> handedOver,
                     int handOverMs)
{
    openWithDesktop(
        program, target,
        std::function<void(const DesktopHandOff &)>(
            [handedOver = std::move(handedOver)](const DesktopHandOff &result) { handedOver(result.handedOver); }),
        handOverMs);
}

void askDesktop(const QString &program, const QStringList &arguments,
                std::function<void(const QString &answer, const QString &startError)> done, int timeoutMs)
{
    runThroughGoBetween(program, arguments, timeoutMs, true,
                        [done = std::move(done)](const DesktopHandOff &result, const QByteArray &output) {
                            done(QString::fromLocal8Bit(output), result.startError);
                        });
}

std::optional<QHash<QString, QString>> readDesktopEntry(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QHash<QString, QString> keys;
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inMainGroup && equals > 0)
            keys.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return keys;
}

QString launcherProgram(const QString &exec)
{
    // The value's own escapes come first ("\s", "\\"), then the quoting of the arguments.
    QString value;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar next = i + 1 < exec.size() ? exec[i + 1] : QChar();
        if (exec[i] != u'\\' || !QStringView(u"sntr\\").contains(next)) {
            value += exec[i];
            continue;
        }
        ++i;
        value += next == u's' ? u' ' : next == u'n' ? u'\n' : next == u't' ? u'\t' : next == u'r' ? u'\r' : next;
    }
    QStringList arguments;
    QString argument;
    bool inArgument = false;
    QChar quote;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (quote.isNull() && c.isSpace()) {
            if (std::exchange(inArgument, false))
                arguments.append(std::exchange(argument, {}));
        } else if (c == quote) {
            quote = QChar();
        } else if (quote.isNull() && (c == u'"' || c == u'\'')) {
            quote = c;
            inArgument = true;
        } else {
            if (c == u'\\' && quote == u'"' && i + 1 < value.size())
                ++i;
            argument += value[i];
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.append(argument);
    // "env [-i] [-u NAME] [NAME=VALUE]... PROGRAM"
    qsizetype at = 0;
    if (QFileInfo(arguments.value(0)).fileName() == QLatin1String("env")) {
        for (++at; at < arguments.size() && (arguments[at].startsWith(u'-') || arguments[at].contains(u'=')); ++at)
            at += arguments[at] == QLatin1String("-u") || arguments[at] == QLatin1String("-C");
    }
    const QString program = arguments.value(at);
    const QString path = program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
    const QString real = QFileInfo(path).canonicalFilePath();
    return !real.isEmpty() ? real : !path.isEmpty() ? path : program;
}

} // namespace quirlanto
