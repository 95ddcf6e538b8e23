#pragma once

#include "providers/providertable.h"
#include "support/safefilewriter.h"

#include <QByteArray>

namespace quirlanto {

QByteArray providerBytes(const ProviderTable &table); // '"' written as '\''

struct LoadProviderResult {
    bool ok = true; // false: file unreadable (nothing loaded)
    // German; set when part of the file could not be used or rows were cut, or, when not ok,
    // why the file could not be read
    QString problem;
    // Where loadProviderFile kept the untouched original of a damaged file; empty when nothing
    // was kept, and copyError says why.
    QString preservedCopy;
    QString copyError;
};

// Fills an emptied table and the switch from the bytes/file; one stable sort at the end.
LoadProviderResult readProviders(const QByteArray &data, ProviderTable &table);
// A file that is there but cannot be read (no rights, not a regular file, too large) marks the
// table fileUnreadable; saveProviderFile then refuses to replace it.
LoadProviderResult loadProviderFile(const QString &path, ProviderTable &table);
WriteResult saveProviderFile(const ProviderTable &table, const QString &path, const QString &backupPath);

} // namespace quirlanto
