#include "support/desktopopen.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
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
// child and waits for it at most `waitMs`; then ends, which orphans it to the system, which
// reaps it.
[[noreturn]] void goBetween(int reportFd, int nullFd, char *const argv[], int waitMs)
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
        ::dup2(nullFd, 1);
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
    report(reportFd, 'r', 0);
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
// nothing of the program stays with us: no child, no descriptor. `done` runs once it has ended.
void runThroughGoBetween(const QString &program, const QStringList &arguments, int waitMs,
                         std::function<void(const DesktopHandOff &)> done)
{
    const auto fail = [&done](int error) {
        QTimer::singleShot(0, [done = std::move(done), error] { done({false, qt_error_string(error)}); });
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
    const int nullFd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    pid_t pid = -1;
    if (nullFd >= 0 && ::pipe2(reportPipe, O_CLOEXEC) == 0)
        pid = ::fork();
    if (pid == 0)
        goBetween(reportPipe[1], nullFd, argv.data(), waitMs);
    const int error = errno;
    if (nullFd >= 0)
        ::close(nullFd);
    if (pid < 0) {
        for (const int fd : reportPipe)
            if (fd >= 0)
                ::close(fd);
        return fail(error);
    }
    ::close(reportPipe[1]);
    auto *notifier = new QSocketNotifier(reportPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [notifier, pid, done = std::move(done), reports = QByteArray()]() mutable {
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
                         done(verdict(reports));
                     });
}

} // namespace

void openWithDesktop(const QString &program, const QString &target, std::function<void(const DesktopHandOff &)> done,
                     int handOverMs)
{
    // A program that stays (xdg-open waits for the phone program it started) is let go after the
    // hand-over: as our child it would keep a descriptor and a process slot for its lifetime.
    startWithDesktop({program, target}, std::move(done), handOverMs);
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

void startWithDesktop(const QStringList &command, std::function<void(const DesktopHandOff &)> done, int handOverMs)
{
    runThroughGoBetween(command.value(0), command.mid(1), handOverMs, std::move(done));
}

namespace {

// The escapes every value of a launcher may hold: "\s", "\n", "\t", "\r", "\\".
QString unescaped(const QString &value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar next = i + 1 < value.size() ? value[i + 1] : QChar();
        if (value[i] != u'\\' || !QStringView(u"sntr\\").contains(next)) {
            text += value[i];
            continue;
        }
        ++i;
        text += next == u's' ? u' ' : next == u'n' ? u'\n' : next == u't' ? u'\t' : next == u'r' ? u'\r' : next;
    }
    return text;
}

// The arguments of an "Exec=" value, its field codes still in them. Quoted as the launcher
// format says ("..." with '\' before '"', '`', '$' and '\'); '...' as a shell would take it.
QStringList execArguments(const QString &exec)
{
    const QString value = unescaped(exec);
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
    return arguments;
}

std::optional<QHash<QString, QString>> parseDesktopEntry(const QByteArray &contents)
{
    QHash<QString, QString> keys;
    bool inMainGroup = false;
    for (const QByteArray &raw : contents.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
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

std::optional<QByteArray> readLauncherFile(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

bool isInstalled(const QString &program)
{
    if (!program.contains(u'/'))
        return !QStandardPaths::findExecutable(program).isEmpty();
    const QFileInfo file(program);
    return file.isFile() && file.isExecutable();
}

std::optional<DesktopLauncher> launcherFor(const QString &id, const QString &path, const QString &mimeType)
{
    const std::optional<QByteArray> contents = readLauncherFile(path);
    // Most launchers are for other types: they are not parsed.
    if (!contents || !contents->contains(mimeType.toUtf8()))
        return std::nullopt;
    const QHash<QString, QString> entry = *parseDesktopEntry(*contents);
    const auto value = [&entry](const char *key) { return unescaped(entry.value(QString::fromLatin1(key))); };
    const QString tryExec = value("TryExec");
    if (value("Type") != QLatin1String("Application") || value("Hidden") == QLatin1String("true")
        || !value("MimeType").split(u';').contains(mimeType) || (!tryExec.isEmpty() && !isInstalled(tryExec)))
        return std::nullopt;
    QString name = value("Name[de_DE]");
    for (const char *key : {"Name[de]", "Name"})
        if (name.isEmpty())
            name = value(key);
    return DesktopLauncher{id, path, name.isEmpty() ? id : name, entry.value(QStringLiteral("Exec")), value("Icon")};
}

} // namespace

std::optional<QHash<QString, QString>> readDesktopEntry(const QString &path)
{
    const std::optional<QByteArray> contents = readLauncherFile(path);
    return contents ? parseDesktopEntry(*contents) : std::nullopt;
}

QString launcherProgram(const QString &exec)
{
    const QStringList arguments = execArguments(exec);
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

QList<DesktopLauncher> launchersFor(const QString &mimeType)
{
    QList<DesktopLauncher> launchers;
    QSet<QString> seen;
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        const QDir base(folder);
        QDirIterator files(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            QString id = base.relativeFilePath(path).replace(u'/', u'-');
            if (seen.contains(id))
                continue;
            seen.insert(id);
            if (std::optional<DesktopLauncher> launcher = launcherFor(id, path, mimeType))
                launchers.append(std::move(*launcher));
        }
    }
    std::sort(launchers.begin(), launchers.end(), [](const DesktopLauncher &a, const DesktopLauncher &b) {
        return QString::localeAwareCompare(a.name, b.name) < 0;
    });
    return launchers;
}

QStringList launcherCommand(const DesktopLauncher &launcher, const QString &url)
{
    QStringList command;
    bool urlPlaced = false;
    for (const QString &argument : execArguments(launcher.exec)) {
        if (argument == QLatin1String("%i")) {
            if (!launcher.icon.isEmpty())
                command << QStringLiteral("--icon") << launcher.icon;
            continue;
        }
        QString expanded;
        for (qsizetype i = 0; i < argument.size(); ++i) {
            if (argument[i] != u'%' || i + 1 == argument.size()) {
                expanded += argument[i];
                continue;
            }
            const QChar code = argument[++i];
            if (code == u'%') {
                expanded += code;
            } else if (QStringView(u"uUfF").contains(code)) {
                expanded += url;
                urlPlaced = true;
            } else if (code == u'c') {
                expanded += launcher.name;
            } else if (code == u'k') {
                expanded += launcher.path;
            } // the others are outdated or unknown and stand for nothing
        }
        // An argument that was only a dropped code is no empty argument.
        if (!expanded.isEmpty() || argument.isEmpty())
            command << expanded;
    }
    if (command.isEmpty())
        return {};
    if (!urlPlaced) // the program would never see the address
        command << url;
    return command;
}

} // namespace quirlanto
