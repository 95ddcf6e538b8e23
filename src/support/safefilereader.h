#pragma once

#include <QByteArray>
#include <QString>

namespace quirlanto {

// Far above any real register or provider list; what is larger is no file of ours.
inline constexpr qint64 kMaxDataFileBytes = 64 * 1024 * 1024;

struct DataFileRead {
    bool ok = false;
    QByteArray bytes;
    unsigned permissions = 0; // the file's permission bits (07777), for copies of it
    int errorNumber = 0;      // errno of a failed open or read, 0 otherwise
    QString error;            // German, without the file name and without a final period
};

// Reads a whole data file, following links, but only a regular file of at most
// kMaxDataFileBytes: a named pipe, a device or a folder is refused at once instead of blocking
// or growing without end.
DataFileRead readDataFile(const QString &path);

} // namespace quirlanto
