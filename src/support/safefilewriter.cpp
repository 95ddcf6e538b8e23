#include "support/safefilewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

QString createExclusiveCopy(const std::function<QString(int)> &candidateName, const QByteArray &bytes, int *errorNumber)
{
    *errorNumber = EEXIST;
    for (int n = 1; n <= 100 && *errorNumber == EEXIST; ++n) {
        const QString name = candidateName(n);
        const QByteArray encoded = QFile::encodeName(name);
        const int fd = ::open(encoded.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            *errorNumber = errno;
            continue;
        }
        *errorNumber = writeAll(fd, bytes) == 0 && ::fsync(fd) == 0 ? 0 : errno;
        ::close(fd);
        if (*errorNumber == 0)
            return name;
        ::unlink(encoded.constData());
    }
    return {};
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

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
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

    // Keep the mode the user gave the file; a new file gets the usual one.
    struct stat targetMode {};
    const bool keepMode = haveCurrent && ::stat(target.constData(), &targetMode) == 0;
    ::fchmod(fd, keepMode ? (targetMode.st_mode & 07777) : newFileMode());

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
    if (haveCurrent) {
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
