#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace quirlanto {

struct WriteResult {
    bool ok = true;
    QString error; // German, names the file and the reason; empty when ok
};

// Writes bytes to a temporary file beside `path`, syncs it, then rotates by renames:
// old backup removed, current file becomes `backupPath`, the temporary file becomes `path`.
// On any failure `path` stays byte-identical and the temporary file is removed. Without a
// current file an existing backup is left alone. An empty `backupPath` keeps no backup (a file
// handed out, such as an export): the temporary file replaces `path` in one rename. The file keeps
// the permission bits of the file it replaces; a new one takes those of the backup, or 0600 (a
// register is private).
WriteResult writeFileWithBackup(const QString &path, const QString &backupPath, const QByteArray &bytes);

// The steps of writeFileWithBackup, in order.
// LinkBackup keeps the current file under the backup name by a hard link; MoveToBackup is the
// fallback rename where the file system has no hard links.
enum class WriteStep { CreateTemporary, WriteData, Sync, RemoveBackup, LinkBackup, MoveToBackup, Replace };

// Test seam: the hook is asked before each step; a non-zero errno value it returns makes that
// step fail with that error. An empty hook (the default) lets every step run.
using WriteFailureHook = std::function<int(WriteStep)>;
void setWriteFailureHook(WriteFailureHook hook);

// Keeps bytes under a name of its own that no later write replaces: the first of the names
// candidateName(1) … candidateName(100) that does not exist yet is created with the given
// permission bits, written and synced. Returns that name, or an empty string and the errno value
// in *errorNumber (EEXIST when all hundred are taken); a file begun is removed again.
QString createExclusiveCopy(const std::function<QString(int)> &candidateName, const QByteArray &bytes,
                            unsigned permissions, int *errorNumber);

// Keeps the untouched bytes of a damaged data file beside it as "<file name>.defekt-<yyyyMMdd-HHmmss>",
// with "-2", "-3" … added when that name is taken, and with the original's permission bits.
// Returns the name; when none could be made, an empty string and the German reason in *reason.
QString preserveDamagedCopy(const QString &path, const QByteArray &bytes, unsigned permissions, QString *reason);

// What a write interrupted by a crash leaves behind: its temporary file beside `path`. Removes
// those of this user (only one copy of the program runs) and returns how many went.
int removeWriteLeftovers(const QString &path);

// German wording of a system error number, for messages ("Zugriff verweigert").
QString systemErrorText(int errorNumber);

} // namespace quirlanto
