#pragma once

#include <QByteArray>
#include <QString>

namespace quirlanto {

struct WriteResult {
    bool ok = true;
    QString error; // German, names the file and the reason; empty when ok
};

// Writes bytes to a temporary file beside `path`, syncs it, then rotates by renames:
// old backup removed, current file becomes `backupPath`, the temporary file becomes `path`.
// On any failure `path` (and the backup) stay as they were.
WriteResult writeFileWithBackup(const QString &path, const QString &backupPath, const QByteArray &bytes);

} // namespace quirlanto
