#include "register/phoneentry.h"

#include "dial/numberpreparation.h"
#include "support/textfields.h"
#include "support/windows1252.h"

#include <algorithm>

namespace quirlanto {

PhoneEntry makePhoneEntry(QStringView name, QStringView number, bool zeroFlag)
{
    return PhoneEntry{trimBlanks(name).toString(), trimBlanks(number).toString(), zeroFlag};
}

PhoneEntry phoneEntryFromFile(QByteArrayView name, QByteArrayView number, bool zeroFlag)
{
    return PhoneEntry{fromWindows1252(trimBlanks(name)), fromWindows1252(trimBlanks(number)), zeroFlag};
}

QString internationalForm(const QString &typed, const Settings &settings)
{
    // Longer than any subscriber number of the own area: a number with its country code.
    constexpr qsizetype kLongestLocalNumber = 8;
    const QString trimmed = typed.trimmed();
    const QString digits = filterDialChars(dropTrunkZeroAfterCountryCode(trimmed));
    // Pauses and tone signs alone are no number to put the own codes in front of.
    if (std::none_of(digits.cbegin(), digits.cend(), [](QChar c) { return c.isDigit(); }))
        return trimmed;
    if (trimmed.startsWith(u'+'))
        return digits;
    if (digits.startsWith(u"00"))
        return digits.mid(2);
    if (digits.startsWith(u'0'))
        return settings.ownCountryCode + digits.mid(1);
    if (digits.startsWith(settings.ownCountryCode) || digits.size() > kLongestLocalNumber)
        return trimmed;
    return settings.ownCountryCode + settings.ownAreaCode + digits;
}

bool isUsableEntry(const PhoneEntry &entry)
{
    return !entry.name.trimmed().isEmpty() && !entry.number.trimmed().isEmpty();
}

} // namespace quirlanto
