#pragma once

#include <QString>
#include <functional>

class QCheckBox;

namespace quirlanto {

inline constexpr auto kAutostartSwitch = "/AUTOSTART";

// $XDG_CONFIG_HOME/autostart (default ~/.config/autostart), without trailing "/".
QString autostartDirectory();
// Where the older way of autostarting kept its "Quirlanto.lnk".
QString legacyAutostartDirectory();
QString autostartEntryPath(const QString &name);

// One argument of an Exec= line, quoted and escaped as desktop entries require; plain
// paths stay unquoted.
QString desktopExecArgument(const QString &argument);
// programPath, one blank, "/AUTOSTART", as it stands after Exec=.
QString autostartCommandLine(const QString &programPath);

// Writes $XDG_CONFIG_HOME/autostart/<name>.desktop; false (with a German reason) on failure.
bool setAutostartEntry(const QString &name, const QString &commandLine, QString *error = nullptr);
bool deleteAutostartEntry(const QString &name, QString *error = nullptr);
// True when the entry file exists and is not marked Hidden=true.
bool autostartEntryExists(const QString &name);

// File operations of the old-shortcut cleanup, replaceable in tests.
struct AutostartFileOps {
    std::function<bool(const QString &)> makeWritable;
    std::function<bool(const QString &)> remove;
    static AutostartFileOps real();
};

// Sets the check box from the entry (or from the old shortcut it replaces) and marks the box
// ready with the tag property "tag" = "OK". Connect the box's toggled() to applyAutostart
// before calling this: the value set here only writes when an old shortcut was found.
void initAutostart(QCheckBox *box, const QString &programPath, const AutostartFileOps &ops = AutostartFileOps::real());
// Writes or deletes the entry to match the box; nothing while the tag is empty.
void applyAutostart(QCheckBox *box, const QString &programPath);

} // namespace quirlanto
