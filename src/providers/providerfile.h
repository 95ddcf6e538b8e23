#pragma once

#include "providers/providertable.h"
#include "support/safefilewriter.h"

#include <QByteArray>

namespace quirlanto {

QByteArray providerBytes(const ProviderTable &table); // '"' written as '\''

struct LoadProviderResult {
    bool ok = true;  // false: file unreadable (nothing loaded)
    QString problem; // German; set when part of the file could not be used or rows were cut
    // Where loadProviderFile kept the untouched original of a damaged file (the problem text
    // names it too); empty when nothing was kept.
    QString preservedCopy;
};

// Fills an emptied table and the switch from the bytes/file; one stable sort at the end.
LoadProviderResult readProviders(const QByteArray &data, ProviderTable &table);
// A file that is there but cannot be read (no rights, not a regular file, too large) marks the
// table fileUnreadable; saveProviderFile then refuses to replace it.
LoadProviderResult loadProviderFile(const QString &path, ProviderTable &table);
// What the start tells the user when the file could not be read whole.
QString providerLoadMessage(const LoadProviderResult &result, const QString &path);
WriteResult saveProviderFile(const ProviderTable &table, const QString &path, const QString &backupPath);

} // namespace quirlanto
