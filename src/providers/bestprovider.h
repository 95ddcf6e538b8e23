#pragma once

#include "providers/providertable.h"

namespace quirlanto {

// Prefix of the first row (table order) that fits weekday (1 = Monday .. 7 = Sunday),
// hour (0..23) and distance (1..3); "" when none fits.
QString bestProvider(const ProviderTable &table, qint16 weekday, qint16 hour, qint16 distance);

} // namespace quirlanto
