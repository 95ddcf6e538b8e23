#pragma once

#include "options/settings.h"

#include <QString>

namespace quirlanto {

class ForeignNumbers;
struct TelLink;

// The register keeps every number in international form: country code first, digits only, no
// "+" or "00". These are the only readings of written numbers into that form, one per source.
// They share one rule: "+" or "00" in front means international, a leading "0" national, and a
// number without either is local (own country and area in front) when it has at most
// kLongestLocalNumber digits, international when longer. With `validity` (the phone-number
// module), a local or international reading that is valid where the other is not wins.
inline constexpr int kLongestLocalNumber = 8;

// Typed into the entry editor. A text without a digit, and an international number written
// without a prefix, stay as typed.
QString internationalFromTyped(const QString &typed, const Settings &settings, ForeignNumbers *validity = nullptr);

// Text in the clipboard (or marked): only its dial characters count. Empty when it has none.
QString internationalFromClipboard(const QString &text, const Settings &settings, ForeignNumbers *validity = nullptr);

// A tel: link that parsed Ok, its extension dialed right after it. A local number with a
// "phone-context" that is a global number prefix is read within that prefix. Empty unless the
// link is Ok.
QString internationalFromTelLink(const TelLink &link, const Settings &settings, ForeignNumbers *validity = nullptr);

// A number of an address book's contact whose address lies in `region` (an ISO code, empty when
// unknown): words in capitals dial by their keys, and a number written as within a country abroad
// is read as that country writes it when it is valid there.
struct ContactNumber {
    QString international;
    // Not to be taken unseen: it had letters, or it is no valid number of the address's country.
    bool doubtful = false;
    // Written as within a country abroad, but read by the register's rules: the module is missing.
    bool moduleMissing = false;
};
ContactNumber internationalFromContact(const QString &written, const QString &region, const Settings &settings,
                                       ForeignNumbers *foreign = nullptr);

// A caller's number as a phone system reports it: international with "00", national with "0",
// else local within the own area. Empty for an empty (withheld) number.
QString internationalFromCaller(const QString &reported, const Settings &settings);

} // namespace quirlanto
