#include "support/safefilewriter.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quirlanto {

namespace {

WriteFailureHook &failureHook()
{
    static WriteFailureHook hook;
    return hook;
}

// Runs one step unless the test hook makes it fail; returns 0 or the errno value.
template <typename Op>
int attempt(WriteStep step, Op op)
{
    if (failureHook()) {
        if (const int injected = failureHook()(step))
            return injected;
    }
    return op() == 0 ? 0 : errno;
}

bool isAsciiLetterOrDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

int writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        p += n;
        left -= n;
    }
    return 0;
}

} // namespace

QString createExclusiveCopy(const std::function<QString(int)> &candidateName, const QByteArray &bytes,
                            unsigned permissions, int *errorNumber)
{
    *errorNumber = EEXIST;
    for (int n = 1; n <= 100 && *errorNumber == EEXIST; ++n) {
        const QString name = candidateName(n);
        const QByteArray encoded = QFile::encodeName(name);
        const int fd = ::open(encoded.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            *errorNumber = errno;
            continue;
        }
        *errorNumber =
            ::fchmod(fd, permissions & 0777) == 0 && writeAll(fd, bytes) == 0 && ::fsync(fd) == 0 ? 0 : errno;
        ::close(fd);
        if (*errorNumber == 0)
            return name;
        ::unlink(encoded.constData());
    }
    return {};
}

QString preserveDamagedCopy(const QString &path, const QByteArray &bytes, unsigned permissions, QString *reason)
{
    const QString stem =
        path + QStringLiteral(".defekt-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    int errorNumber = 0;
    const QString name =
        createExclusiveCopy([&stem](int n) { return n == 1 ? stem : stem + QStringLiteral("-%1").arg(n); }, bytes,
                            permissions, &errorNumber);
    if (name.isEmpty()) {
        *reason = errorNumber == EEXIST ? QStringLiteral("Es gibt bereits zu viele aufbewahrte Kopien")
                                        : systemErrorText(errorNumber);
    }
    return name;
}

int removeWriteLeftovers(const QString &path)
{
    // The temporary names writeFileWithBackup makes: "." + file name + "." + six letters or digits.
    const QFileInfo info(path);
    const QString prefix = QLatin1Char('.') + info.fileName() + QLatin1Char('.');
    QDir folder(info.absolutePath());
    int removed = 0;
    // Compared by hand: a name filter would mean compiling a regular expression at every start.
    QDirIterator it(folder.path(), QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (name.size() != prefix.size() + 6 || !name.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        const QStringView tail = QStringView(name).mid(prefix.size());
        if (!std::all_of(tail.begin(), tail.end(), isAsciiLetterOrDigit))
            continue;
        const QByteArray encoded = QFile::encodeName(folder.filePath(name));
        struct stat entry {};
        if (::lstat(encoded.constData(), &entry) != 0 || !S_ISREG(entry.st_mode) || entry.st_uid != ::geteuid())
            continue;
        if (::unlink(encoded.constData()) == 0)
            ++removed;
    }
    return removed;
}

namespace {

bool hardLinksUnsupported(int error)
{
    return error == EPERM || error == EXDEV || error == EMLINK || error == ENOTSUP || error == EOPNOTSUPP;
}

void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd); // best effort: the renames are done either way
        ::close(fd);
    }
}

// Data files are private unless the user gave the file (or its backup) other rights.
mode_t newFileMode(const QByteArray &backup)
{
    struct stat info {};
    if (::stat(backup.constData(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 0777;
    return 0600;
}

} // namespace

void setWriteFailureHook(WriteFailureHook hook)
{
    failureHook() = std::move(hook);
}

QString systemErrorText(int errorNumber)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM:
        return QStringLiteral("Zugriff verweigert");
    case ENOENT:
        return QStringLiteral("Der Ordner oder die Datei ist nicht vorhanden");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Ordner");
    case EISDIR:
        return QStringLiteral("An dieser Stelle steht ein Ordner");
    case ENOSPC:
        return QStringLiteral("Kein Speicherplatz mehr frei");
    case EDQUOT:
        return QStringLiteral("Speicherkontingent überschritten");
    case EROFS:
        return QStringLiteral("Das Dateisystem ist schreibgeschützt");
    case EIO:
        return QStringLiteral("Ein-/Ausgabefehler");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("Die Datei wird gerade benutzt");
    case ENAMETOOLONG:
        return QStringLiteral("Der Name ist zu lang");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Zu viele offene Dateien");
    case ELOOP:
        return QStringLiteral("Zu viele Ebenen symbolischer Verknüpfungen");
    case EEXIST:
        return QStringLiteral("Die Datei ist bereits vorhanden");
    case EFBIG:
    case EOVERFLOW:
        return QStringLiteral("Die Datei ist zu groß");
    case ENOMEM:
        return QStringLiteral("Nicht genügend Arbeitsspeicher");
    case EAGAIN:
        return QStringLiteral("Die Ressource ist zur Zeit nicht verfügbar");
    case EINTR:
        return QStringLiteral("Der Vorgang wurde unterbrochen");
    case EINVAL:
        return QStringLiteral("Ungültiges Argument");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("Das Gerät ist nicht vorhanden");
    case EXDEV:
        return QStringLiteral("Der Vorgang geht nicht über Dateisystemgrenzen hinweg");
    case EMLINK:
        return QStringLiteral("Zu viele Verknüpfungen");
    case ENOTEMPTY:
        return QStringLiteral("Der Ordner ist nicht leer");
    case ESTALE:
        return QStringLiteral("Die Datei auf dem Netzlaufwerk ist nicht mehr gültig");
    case ETIMEDOUT:
        return QStringLiteral("Zeitüberschreitung");
    case ECONNREFUSED:
        return QStringLiteral("Verbindung abgelehnt");
    case ENOTSUP:
        return QStringLiteral("Der Vorgang wird nicht unterstützt");
    case EBADF:
        return QStringLiteral("Ungültiger Dateideskriptor");
    default:
        return QStringLiteral("Systemfehler %1 (%2)")
            .arg(errorNumber)
            .arg(QString::fromLocal8Bit(std::strerror(errorNumber)));
    }
}

WriteResult writeFileWithBackup(const QString &path, const QString &backupPath, const QByteArray &bytes)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    const auto fail = [&](const QString &reason) {
        return WriteResult{
            false, QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: %2.").arg(shownPath, reason)};
    };
    const auto backupReason = [&](const QString &what, int error) {
        return QStringLiteral("Die Sicherung „%1“ %2 (%3)")
            .arg(QDir::toNativeSeparators(backupPath), what, systemErrorText(error));
    };

    const QByteArray target = QFile::encodeName(path);
    const QByteArray backup = QFile::encodeName(backupPath);
    const QFileInfo info(path);
    const QByteArray folder = QFile::encodeName(info.absolutePath());

    struct stat current {};
    const bool haveCurrent = ::lstat(target.constData(), &current) == 0;
    if (haveCurrent && S_ISDIR(current.st_mode))
        return fail(systemErrorText(EISDIR));
    if (haveCurrent && !S_ISREG(current.st_mode) && !S_ISLNK(current.st_mode))
        return fail(QStringLiteral("Es ist keine gewöhnliche Datei"));

    QByteArray temporary = folder + "/." + QFile::encodeName(info.fileName()) + ".XXXXXX";
    int fd = -1;
    if (const int error = attempt(WriteStep::CreateTemporary, [&] {
            fd = ::mkostemp(temporary.data(), O_CLOEXEC);
            return fd < 0 ? -1 : 0;
        })) {
        return fail(systemErrorText(error));
    }
    const auto dropTemporary = [&] {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        ::unlink(temporary.constData());
    };

    // Keep the mode the user gave the file.
    struct stat targetMode {};
    const bool keepMode = haveCurrent && ::stat(target.constData(), &targetMode) == 0;
    ::fchmod(fd, keepMode ? (targetMode.st_mode & 07777) : newFileMode(backup));

    if (const int error = attempt(WriteStep::WriteData, [&] { return writeAll(fd, bytes); })) {
        dropTemporary();
        return fail(systemErrorText(error));
    }
    if (const int error = attempt(WriteStep::Sync, [&] {
            if (::fsync(fd) != 0)
                return -1;
            const int closed = ::close(fd);
            fd = -1;
            return closed;
        })) {
        dropTemporary();
        return fail(systemErrorText(error));
    }

    // Without a current file the old backup is the only copy left: keep it.
    bool movedAside = false;
    if (haveCurrent && !backupPath.isEmpty()) {
        if (const int error = attempt(WriteStep::RemoveBackup, [&] {
                return (::unlink(backup.constData()) == 0 || errno == ENOENT) ? 0 : -1;
            })) {
            dropTemporary();
            return fail(backupReason(QStringLiteral("ließ sich nicht entfernen"), error));
        }

        // A hard link keeps the current file in place until the rename below replaces it in one
        // step; where the file system has no hard links, the file is moved aside and moved back
        // if the replacement fails.
        int error = attempt(WriteStep::LinkBackup, [&] { return ::link(target.constData(), backup.constData()); });
        if (error && hardLinksUnsupported(error)) {
            error = attempt(WriteStep::MoveToBackup, [&] { return ::rename(target.constData(), backup.constData()); });
            movedAside = error == 0;
        }
        if (error) {
            dropTemporary();
            return fail(backupReason(QStringLiteral("ließ sich nicht anlegen"), error));
        }
    }
    if (const int error =
            attempt(WriteStep::Replace, [&] { return ::rename(temporary.constData(), target.constData()); })) {
        dropTemporary();
        if (movedAside && ::rename(backup.constData(), target.constData()) != 0) {
            return fail(QStringLiteral("%1; die bisherige Fassung liegt in „%2“")
                            .arg(systemErrorText(error), QDir::toNativeSeparators(backupPath)));
        }
        return fail(systemErrorText(error));
    }

    syncFolder(folder);
    return {};
}

} // namespace quirlanto
