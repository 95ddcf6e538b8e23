#pragma once

#include "numbers/writtennumber.h"
#include "options/settings.h"
#include "providers/providerentry.h"

#include <QString>

namespace quirlanto {

class Clock;
class ProviderTable;

struct PreparedNumber {
    QString number;     // digits to dial after the prefix
    QString dialPrefix; // provider prefix, then international prefix; either may be empty
    DistanceClass distance = DistanceClass::Local;
    QString displayNumber; // number, with "+" in front when Abroad

    bool operator==(const PreparedNumber &) const = default;
};

// Why a filtered clipboard number is not dialed (none there, or more dial characters than any
// number has); empty when it can be dialed. `marked`: the text came from the marked text.
QString clipboardNumberRefusal(const QString &filtered, bool marked = false);

// The clock is read only when the provider table is on (table may be null: no providers).
PreparedNumber prepareNumber(const QString &internationalNumber, bool zeroFlag, const Settings &settings,
                             const ProviderTable *providers, const Clock &clock);

} // namespace quirlanto
