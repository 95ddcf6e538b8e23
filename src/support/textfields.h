#pragma once

#include <QString>
#include <QStringView>

namespace quirlanto {

// Only blanks count, as in the stored files; a tab inside a name is the user's.
QStringView trimBlanks(QStringView text);

// The data files have no escape for a double quote: each '"' becomes '\'' in place,
// keeping the length.
void quotesToApostrophes(QString &text);

} // namespace quirlanto
