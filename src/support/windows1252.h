#pragma once

#include <QByteArray>
#include <QString>

namespace quirlanto {

// The data files are Windows-1252. Characters the code page cannot hold are written as "?",
// so a stray character never breaks the file's structure.
QString fromWindows1252(QByteArrayView bytes);
// Decodes into `out`, which has room for bytes.size() characters; returns the end.
QChar *fromWindows1252(QByteArrayView bytes, QChar *out);
QByteArray toWindows1252(QStringView text);

} // namespace quirlanto
