#pragma once

#include "options/settings.h"

#include <QString>

namespace quirlanto {

class ForeignNumbers;

// A stored number (country code first, digits only) as people read it: "+49 30 1234567". Always
// international, numbers of the own country too: the same form in every window, and the one the
// register holds. With `grouping` (the phone-number module) a valid number is grouped as its
// country writes it; otherwise the country code stands apart, then the own area code when the
// number lies in the own area, then the rest. Pauses and flashes after the digits are kept; a
// number stored in any other form is shown as stored.
QString readableNumber(const QString &stored, const Settings &settings, ForeignNumbers *grouping = nullptr);

} // namespace quirlanto
