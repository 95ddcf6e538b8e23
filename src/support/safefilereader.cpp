#include "support/safefilereader.h"

#include "support/safefilewriter.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quirlanto {

namespace {

QString tooLargeText()
{
    return QStringLiteral("Die Datei ist größer als %1 MB").arg(kMaxDataFileBytes / (1024 * 1024));
}

DataFileRead failed(int errorNumber, const QString &text)
{
    DataFileRead result;
    result.errorNumber = errorNumber;
    result.error = text;
    return result;
}

} // namespace

DataFileRead readDataFile(const QString &path)
{
    // Without O_NONBLOCK opening a named pipe would wait for a writer for ever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return failed(error, systemErrorText(error));
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        return failed(error, systemErrorText(error));
    }
    if (S_ISDIR(info.st_mode))
        return failed(EISDIR, systemErrorText(EISDIR));
    if (!S_ISREG(info.st_mode))
        return failed(0, QStringLiteral("Es ist keine gewöhnliche Datei"));
    if (info.st_size > kMaxDataFileBytes)
        return failed(EFBIG, tooLargeText());

    DataFileRead result;
    result.permissions = unsigned(info.st_mode & 07777);
    // The file may grow while it is read: one byte beyond the limit is enough to tell.
    result.bytes.resize(qsizetype(info.st_size) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == result.bytes.size()) {
            if (filled > kMaxDataFileBytes)
                return failed(EFBIG, tooLargeText());
            result.bytes.resize(qMin(qsizetype(kMaxDataFileBytes) + 1, filled * 2 + 4096));
        }
        const ssize_t n = ::read(fd, result.bytes.data() + filled, size_t(result.bytes.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            return failed(error, systemErrorText(error));
        }
        if (n == 0)
            break;
        filled += n;
    }
    result.bytes.truncate(filled);
    result.ok = true;
    return result;
}

} // namespace quirlanto
