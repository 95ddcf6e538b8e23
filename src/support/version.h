#pragma once

#include <QString>

namespace quirlanto {

inline constexpr int kVersionMajor = QUIRLANTO_VERSION_MAJOR;
inline constexpr int kVersionMinor = QUIRLANTO_VERSION_MINOR;
inline constexpr int kVersionRevision = QUIRLANTO_VERSION_PATCH;
inline constexpr auto kProductName = "Quirlanto";
// Desktop entry, icon and metadata name; on Wayland also the window's application id.
inline constexpr auto kAppId = "example.moltara.Quirlanto";

// flags: bit 0x100 drops the revision (or turns a revision above 99 into a letter);
// low byte 0 wraps the text as " (V…)", 1 gives it bare, anything else gives "".
QString versionText(quint32 flags);
QString versionText(quint32 flags, int major, int minor, int revision);

// Folder of the running program file (symlinks resolved), with exactly one "/" at the end.
QString programDirectory();
// Real path of the running program file.
QString programFilePath();
// Appends the platform separator "/" unless the path already ends in one; "" gives "/".
QString addBackslash(const QString &path);
// True for an existing ordinary file; false for "", folders and anything the lookup rejects.
bool fileExists(const QString &name);

// Tests and the installed program may point the program folder elsewhere.
void setProgramDirectoryOverride(const QString &directory);

} // namespace quirlanto
