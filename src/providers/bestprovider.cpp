#include "providers/bestprovider.h"

namespace quirlanto {

namespace {

bool fitsDistance(const ProviderEntry &row, qint16 distance)
{
    switch (distance) {
    case qint16(DistanceClass::Local):
        return row.local;
    case qint16(DistanceClass::LongDistance):
        return row.longDistance;
    case qint16(DistanceClass::Abroad):
        return row.abroad;
    default:
        return false;
    }
}

bool fitsDay(const ProviderEntry &row, qint16 weekday)
{
    switch (row.dayClass) {
    case DayClass::Weekend:
        return weekday >= 6;
    case DayClass::Weekdays:
        return weekday <= 5;
    case DayClass::Always:
        return true;
    case DayClass::None:
        break;
    }
    return false;
}

} // namespace

QString bestProvider(const ProviderTable &table, qint16 weekday, qint16 hour, qint16 distance)
{
    // Nothing fits a day or distance that does not exist.
    if (weekday < 1 || weekday > 7 || distance < 1 || distance > 3)
        return {};
    for (const ProviderEntry &row : table.rows()) {
        if (fitsDistance(row, distance) && fitsDay(row, weekday) && row.fromHour <= hour && row.toHour > hour)
            return row.networkPrefix;
    }
    return {};
}

} // namespace quirlanto
