#pragma once

#include <QStringList>

namespace quirlanto {

class CallSession;
class DesktopIntegration;
class Dialer;
class MainWindow;
class ModemLink;
class RegisterDocument;
class SessionEnd;
class SettingsStore;

// The arguments after the program, joined by blanks, without leading and trailing blanks.
QString commandLine(const QStringList &arguments);

// True when the command line (the arguments after the program, joined by blanks), without
// leading and trailing blanks, is "/AUTOSTART" in any letter case, and nothing else.
bool isAutostartCommandLine(const QStringList &arguments);

// The long-lived parts of the running program. Tests leave out what they do not need.
struct ProgramParts {
    RegisterDocument &book;
    MainWindow &window;
    SettingsStore &settingsStore;
    Dialer *dialer = nullptr;
    DesktopIntegration *desktop = nullptr;
    SessionEnd *sessionEnd = nullptr;
    ModemLink *modem = nullptr; // "Debug" shows its last answer
    CallSession *calls = nullptr;
};

// Wires the parts to each other (the one place where that happens), then runs the start-up
// sequence. Returns false when the program must end at once (the register file cannot be
// used); the window has not been shown then.
bool startProgram(const ProgramParts &parts, const QStringList &arguments);

} // namespace quirlanto
