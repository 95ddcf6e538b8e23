#include "register/phoneentry.h"

#include "support/textfields.h"
#include "support/windows1252.h"

namespace quirlanto {

PhoneEntry makePhoneEntry(QStringView name, QStringView number, bool zeroFlag)
{
    return PhoneEntry{trimBlanks(name).toString(), trimBlanks(number).toString(), zeroFlag};
}

PhoneEntry phoneEntryFromFile(QByteArrayView name, QByteArrayView number, bool zeroFlag)
{
    return PhoneEntry{fromWindows1252(trimBlanks(name)), fromWindows1252(trimBlanks(number)), zeroFlag};
}

bool isUsableEntry(const PhoneEntry &entry)
{
    return !entry.name.trimmed().isEmpty() && !entry.number.trimmed().isEmpty();
}

} // namespace quirlanto
