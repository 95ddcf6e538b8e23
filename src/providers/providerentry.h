#pragma once

#include <QString>

namespace quirlanto {

enum class DayClass : qint16 { None = 0, Weekdays = 1, Weekend = 2, Always = 3 };
enum class DistanceClass : qint16 { Local = 1, LongDistance = 2, Abroad = 3 };

struct ProviderEntry {
    QString name;
    QString networkPrefix;
    DayClass dayClass = DayClass::None;
    qint16 fromHour = 0; // inclusive
    qint16 toHour = 0;   // exclusive
    bool local = false;
    bool longDistance = false;
    bool abroad = false;

    bool operator==(const ProviderEntry &) const = default;
};

// Code (weekend flag * 2) | weekday flag; codes other than 1..3 give DayClass::None.
DayClass dayClassFromFlags(qint16 weekdayFlag, qint16 weekendFlag);
QString dayClassText(DayClass day);           // "Mo-Fr", "Sa-So", "Immer", ""
QString hourText(qint16 hour);                // 9 -> "09h", 24 -> "24h"
QString distanceText(const ProviderEntry &e); // letters of the set flags in "NFA" order

} // namespace quirlanto
