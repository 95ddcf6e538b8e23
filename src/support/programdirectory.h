#pragma once

#include <QString>

namespace quirlanto {

// Folder of the running program file (symlinks resolved), with exactly one "/" at the end.
QString programDirectory();
// Real path of the running program file.
QString programFilePath();
// Appends "/" unless the path already ends in one; "" gives "/".
QString withTrailingSlash(const QString &path);
// True for an existing ordinary file; false for "", folders and anything the lookup rejects.
bool fileExists(const QString &name);

// Tests and the installed program may point the program folder elsewhere.
void setProgramDirectoryOverride(const QString &directory);

} // namespace quirlanto
