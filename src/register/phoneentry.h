#pragma once

#include "options/settings.h"

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

// The register holds international numbers (country code first, no "+" or "00"). A number typed
// with "+" or "00" (a written "(0)" after the country code dropped) or with the trunk "0" is
// turned into that form, digits only; one without either that begins with the own country code,
// or is too long for a subscriber number, is international already and stays as typed; a
// shorter one is a local number in the own area.
QString internationalForm(const QString &typed, const Settings &settings);

// Whether an edited entry is one anybody can see and dial: name and number both hold more
// than white space.
bool isUsableEntry(const PhoneEntry &entry);

} // namespace quirlanto
