#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace quirlanto {

// How long xdg-open may take to say that the desktop could not take an address. xdg-open may
// also stay until the program it started ends; still running after this, it has handed over.
inline constexpr int kDesktopHandOverMs = 5000;

// How a hand-off to the desktop went.
struct DesktopHandOff {
    bool handedOver = false;
    QString startError; // why the program could not be started; empty when it ran
};

// Hands `target` (an address or a file) to `program` (xdg-open) without waiting for it.
// `done` runs once: not handed over when the program could not start or ended with a failure
// within `handOverMs`; handed over when it ended well or still runs then. A program still
// running is let go then: it is no child of this program any more and keeps nothing open here.
void openWithDesktop(const QString &program, const QString &target, std::function<void(const DesktopHandOff &)> done,
                     int handOverMs = kDesktopHandOverMs);
void openWithDesktop(const QString &program, const QString &target, std::function<void(bool handedOver)> handedOver,
                     int handOverMs = kDesktopHandOverMs);

// Starts `command` (the program first) the same way, without a shell: it is handed over when it
// ended well or still runs after `handOverMs`.
void startWithDesktop(const QStringList &command, std::function<void(const DesktopHandOff &)> done,
                      int handOverMs = kDesktopHandOverMs);

// The keys of the "[Desktop Entry]" group of a launcher file; nothing when it cannot be read.
std::optional<QHash<QString, QString>> readDesktopEntry(const QString &path);
// The program a launcher's "Exec=" runs (also behind "env"), resolved through PATH and links; as
// written when it is not found, empty for none.
QString launcherProgram(const QString &exec);

// An installed program's launcher.
struct DesktopLauncher {
    QString id;   // "org.example.Phone.desktop"; folders below "applications" joined with "-"
    QString path; // the launcher file
    QString name; // in German when the launcher has it
    QString exec;
    QString icon;
};

// The launchers that name `mimeType` in "MimeType=", by name. An id found in an earlier data
// folder (the user's first) hides the later ones; deleted launchers ("Hidden=true") and those
// whose "TryExec=" program is not installed are left out. Each call reads the folders anew.
QList<DesktopLauncher> launchersFor(const QString &mimeType);
// What a launcher runs to open `url`: the arguments of "Exec=", "%u" "%U" "%f" "%F" replaced by
// `url` (which is appended when none stands there), "%i" "%c" "%k" by icon, name and launcher
// file, other field codes dropped. Empty when "Exec=" names no program.
QStringList launcherCommand(const DesktopLauncher &launcher, const QString &url);

} // namespace quirlanto
