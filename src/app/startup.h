#pragma once

#include <QStringList>

namespace quirlanto {

class MainWindow;

// The arguments after the program, joined by blanks, without leading and trailing blanks.
QString commandLine(const QStringList &arguments);

// True when the command line (the arguments after the program, joined by blanks), without
// leading and trailing blanks, is "/AUTOSTART" in any letter case, and nothing else.
bool isAutostartCommandLine(const QStringList &arguments);

// The start-up sequence of the main window, one line per step. Returns false when the program
// must end at once (the register file cannot be used); the window has not been shown then.
bool startProgram(MainWindow &window, const QStringList &arguments);

} // namespace quirlanto
