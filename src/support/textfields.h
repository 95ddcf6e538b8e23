#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace quirlanto {

// Only blanks count, as in the stored files; a tab inside a name is the user's.
QStringView trimBlanks(QStringView text);
// The same for the file's bytes; no other byte decodes to the blank.
QByteArrayView trimBlanks(QByteArrayView bytes);

// The data files have no escape for a double quote: each '"' becomes '\'' in place,
// keeping the length.
void quotesToApostrophes(QString &text);

} // namespace quirlanto
