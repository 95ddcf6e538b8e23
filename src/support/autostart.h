#pragma once

#include <QObject>
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

// The "&Autostart" box: set from the logon entry (or ticked when an old shortcut is replaced by
// one), then every change of the box writes or deletes the entry.
class AutostartSwitch : public QObject {
    Q_OBJECT
public:
    AutostartSwitch(QCheckBox *box, const QString &programPath, const AutostartFileOps &ops = AutostartFileOps::real());

private:
    void apply();

    QCheckBox *m_box;
    QString m_programPath;
    bool m_ready = false; // the box is set from disk first; that is no change to write
};

} // namespace quirlanto
