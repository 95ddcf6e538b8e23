#pragma once

#include <QString>

namespace quirlanto {

// What a line can dial: the digits, "," (a pause) and "!" (a hook flash).
bool isDialChar(QChar c);
// Keeps only "0123456789,!".
QString filterDialChars(const QString &text);
bool hasDigit(QStringView text);

// Drops a written "(0)" trunk zero when the text starts (after blanks) with "+" or "00";
// everything else unchanged. Apply before filterDialChars.
QString dropTrunkZeroAfterCountryCode(const QString &written);

// Whether the number is written with "+" in front: the first digit or "+" of the text is a "+".
bool startsWithPlus(QStringView written);

// The number with words in capitals of three letters or more ("0800 FLOWERS") turned into the
// digits of their keys; `letters` tells whether it had letters at all (a word may also be a note
// behind the number).
QString withKeypadWords(const QString &number, bool *letters);

// An own country or area code as typed on the options card: the leading digits without blanks
// and national zeros, "0" when there are none.
QString ownCode(const QString &typed);

} // namespace quirlanto
