#pragma once

#include <QString>

namespace quirlanto {

inline constexpr int kVersionMajor = QUIRLANTO_VERSION_MAJOR;
inline constexpr int kVersionMinor = QUIRLANTO_VERSION_MINOR;
inline constexpr int kVersionRevision = QUIRLANTO_VERSION_PATCH;
inline constexpr auto kProductName = "Quirlanto";
// Desktop entry, icon and metadata name; on Wayland also the window's application id.
inline constexpr auto kAppId = "example.moltara.Quirlanto";

// Flags of versionText: the low byte picks the wrapping, the bit drops the revision.
inline constexpr quint32 kVersionInBrackets = 0;
inline constexpr quint32 kVersionBare = 1;
inline constexpr quint32 kVersionWithoutRevision = 0x100;

// The low byte wraps the text as " (V…)" (kVersionInBrackets), gives it bare (kVersionBare) or
// gives "" (anything else); kVersionWithoutRevision drops the revision, or turns one above 99
// into a letter.
QString versionText(quint32 flags, int major, int minor, int revision);

// "4.1", as the window caption shows it.
QString captionVersionText();
// " (V4.1)", as the About window shows it after the product name.
QString bracketedVersionText();

} // namespace quirlanto
