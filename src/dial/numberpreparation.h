#pragma once

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

// Keeps only "0123456789,!".
QString filterDialChars(const QString &text);

// Drops a written "(0)" trunk zero when the raw clipboard text starts (after blanks)
// with "+" or "00"; everything else unchanged. Apply before filterDialChars.
QString dropTrunkZeroAfterCountryCode(const QString &rawClipboardText);

// Why a filtered clipboard number is not dialed (none there, or more dial characters than any
// number has); empty when it can be dialed.
QString clipboardNumberRefusal(const QString &filtered);

// Filtered, non-empty clipboard number to international form.
QString normalizeClipboardNumber(const QString &filtered, const Settings &settings);

// The clock is read only when the provider table is on (table may be null: no providers).
PreparedNumber prepareNumber(const QString &internationalNumber, int zeroFlag, const Settings &settings,
                             const ProviderTable *providers, const Clock &clock);

} // namespace quirlanto
