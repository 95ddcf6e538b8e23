#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace quirlanto {

// Only blanks count, as in the stored files; a tab inside a name is the user's.
QStringView trimBlanks(QStringView text);
// The same for the file's bytes; no other byte decodes to the blank.
QByteArrayView trimBlanks(QByteArrayView bytes);

// Characters below the blank and DEL: in a name or number they are damage from elsewhere (a
// line break from an address book, a NUL from an encoding), and they would break a line list.
bool hasControlChar(QStringView text);
// Each run of them, with the blanks around it, becomes one blank.
QString controlCharsAsBlanks(QStringView text);

// The data files have no escape for a double quote: each '"' becomes '\'' in place,
// keeping the length.
void quotesToApostrophes(QString &text);

} // namespace quirlanto
