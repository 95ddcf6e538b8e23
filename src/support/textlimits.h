#pragma once

#include <QtGlobal>

namespace quirlanto {

// Longer than anything a person types: a longer text in a data file is damage, not data, and
// would freeze every widget it reached.
// Names of entries, cards and providers.
inline constexpr qsizetype kMaxNameLength = 200;
// Numbers, prefixes and the other texts of the settings as written, and the dial characters of
// a number (a modem line takes about 40).
inline constexpr qsizetype kMaxNumberLength = 64;

} // namespace quirlanto
