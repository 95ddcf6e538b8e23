#pragma once

#include <QString>

// Reading numbers as another country writes them lives in a module of its own
// (lib/quirlanto-phonenumbers.so in a program folder, moduleDirectory() when installed
// system-wide), loaded on the first contact with a foreign address: the libraries it pulls in
// would otherwise slow every start and stay in memory all day for a rare import.
// Module and program are built together, so the functions take Qt's own types.
namespace quirlanto::phonenumbers {

// The region code ("FR") of a country as an address names it: its code ("FR", "FRA") or its
// name in German, English, French, Italian, Spanish or the country's own language. Empty when
// unknown.
using RegionOfCountryFunction = void (*)(const QString &country, QString *region);

// The country calling code of `region` ("33" for "FR"), empty for an unknown region.
using CallingCodeFunction = void (*)(const QString &region, QString *callingCode);

// Country calling code and number, digits only, of `typed` read as written within `region`, when
// it is a valid number there; empty otherwise.
using InternationalFormFunction = void (*)(const QString &typed, const QString &region, QString *international);

// `international` (country code first, digits only) grouped as its country writes it, "+49 30
// 1234567", when it is a valid number; empty otherwise.
using ReadableFormFunction = void (*)(const QString &international, QString *readable);

inline constexpr char kRegionOfCountrySymbol[] = "quirlantoRegionOfCountry";
inline constexpr char kCallingCodeSymbol[] = "quirlantoCallingCode";
inline constexpr char kInternationalFormSymbol[] = "quirlantoInternationalForm";
inline constexpr char kReadableFormSymbol[] = "quirlantoReadableForm";
inline constexpr char kModuleName[] = "quirlanto-phonenumbers.so";

} // namespace quirlanto::phonenumbers
