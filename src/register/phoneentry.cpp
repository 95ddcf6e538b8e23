#include "register/phoneentry.h"

#include "support/textfields.h"
#include "support/windows1252.h"

namespace quirlanto {

namespace {

// Only the blank itself is trimmed, as in the texts; no other byte decodes to it.
QByteArrayView trimmedBytes(QByteArrayView bytes)
{
    while (!bytes.isEmpty() && bytes.front() == ' ')
        bytes = bytes.sliced(1);
    while (!bytes.isEmpty() && bytes.back() == ' ')
        bytes.chop(1);
    return bytes;
}

} // namespace

PhoneEntry makePhoneEntry(QStringView name, QStringView number, bool zeroFlag)
{
    return PhoneEntry{trimBlanks(name).toString(), trimBlanks(number).toString(), zeroFlag};
}

PhoneEntry phoneEntryFromFile(QByteArrayView name, QByteArrayView number, bool zeroFlag)
{
    return PhoneEntry{fromWindows1252(trimmedBytes(name)), fromWindows1252(trimmedBytes(number)), zeroFlag};
}

bool isUsableEntry(const PhoneEntry &entry)
{
    return !entry.name.trimmed().isEmpty() && !entry.number.trimmed().isEmpty();
}

} // namespace quirlanto
