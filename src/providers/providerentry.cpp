#include "providers/providerentry.h"

namespace quirlanto {

DayClass dayClassFromFlags(qint16 weekdayFlag, qint16 weekendFlag)
{
    // Only the exact codes 1..3 name a day class; True written as -1 by other tools gives none.
    const int code = (int(weekendFlag) * 2) | int(weekdayFlag);
    switch (code) {
    case 1:
        return DayClass::Weekdays;
    case 2:
        return DayClass::Weekend;
    case 3:
        return DayClass::Always;
    default:
        return DayClass::None;
    }
}

QString dayClassText(DayClass day)
{
    switch (day) {
    case DayClass::Weekdays:
        return QStringLiteral("Mo-Fr");
    case DayClass::Weekend:
        return QStringLiteral("Sa-So");
    case DayClass::Always:
        return QStringLiteral("Immer");
    case DayClass::None:
        break;
    }
    return {};
}

QString hourText(qint16 hour)
{
    return (QLatin1Char('0') + QString::number(hour) + QLatin1Char('h')).right(3);
}

QString distanceText(const ProviderEntry &e)
{
    QString text;
    if (e.local)
        text += QLatin1Char('N');
    if (e.longDistance)
        text += QLatin1Char('F');
    if (e.abroad)
        text += QLatin1Char('A');
    return text;
}

} // namespace quirlanto
