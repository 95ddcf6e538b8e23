#pragma once

#include <QByteArray>
#include <QString>

namespace quirlanto {

// The data files are Windows-1252. A letter the code page cannot hold is written as its base
// letter when the page has that ("ř" as "r", "Ł" as "L"), anything else as "?", so a stray
// character never breaks the file's structure.
QString fromWindows1252(QByteArrayView bytes);
// Decodes into `out`, which has room for bytes.size() characters; returns the end.
QChar *fromWindows1252(QByteArrayView bytes, QChar *out);
QByteArray toWindows1252(QStringView text);
// The text as the file will hold it, for showing before it is stored; every name and number
// passes here on its way into a file, so no control character gets in.
QString storedForm(QStringView text);

} // namespace quirlanto
