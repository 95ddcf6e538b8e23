#pragma once

#include <QByteArrayView>
#include <QString>

namespace quirlanto {

// One entry of a card's name list.
struct PhoneEntry {
    QString name;          // without leading and trailing blanks
    QString number;        // international form as entered, without leading and trailing blanks
    bool zeroFlag = false; // dial a "0" before the area code within the own country

    bool operator==(const PhoneEntry &) const = default;
};

// Name and number lose their leading and trailing blanks, as the register keeps them.
PhoneEntry makePhoneEntry(QStringView name, QStringView number, bool zeroFlag);
// The same from the register file's bytes (Windows-1252), decoded straight into the texts:
// loading a large register builds thousands of these.
PhoneEntry phoneEntryFromFile(QByteArrayView name, QByteArrayView number, bool zeroFlag);

// Whether an edited entry is one anybody can see and dial: name and number both hold more
// than white space.
bool isUsableEntry(const PhoneEntry &entry);

} // namespace quirlanto
