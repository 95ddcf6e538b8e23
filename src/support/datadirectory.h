#pragma once

#include <QString>

namespace quirlanto {

// Folders are decided when building: a portable program folder keeps everything beside the
// program; a system-wide install (QUIRLANTO_SYSTEM_INSTALL) never writes beside it.
bool isSystemInstall();

// Where the register and provider files live, with "/" at the end. Portable: the program
// folder. System-wide: userDataDirectory().
QString dataDirectory();
// The folder holding snd/ and hilfe/, with "/" at the end.
QString resourceDirectory();
// The folder of the sound output module, with "/" at the end.
QString moduleDirectory();

// $XDG_DATA_HOME/quirlanto/ (by default ~/.local/share/quirlanto/), with "/" at the end. Missing
// folders on the way are made with mode 700, as the data is private.
QString userDataDirectory();

} // namespace quirlanto
