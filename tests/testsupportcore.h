// What many tests set up the same way without a window: program folders, files, register bytes.
#pragma once

#include "providers/providertable.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace quirlanto::test {

// The default settings line, and the short card names most register files in tests carry.
inline const QByteArray kSettingsLine = R"(0,1,0,0,"",0,"00","49","89",12,"","",0)";
inline const QByteArray kCardNames = R"("A","B","C","D")";
// The card names and the whole file the program writes when it finds no register file.
inline const QByteArray kDefaultCardNames = "\"B\xfcro 1\",\"B\xfcro 2\",\"Privat 1\",\"Privat 2\"";
inline const QByteArray kNewRegisterFile =
    "[QUIRLANTO VERSION 4]\r\n" + kSettingsLine + "\r\n" + kDefaultCardNames + "\r\n";

// A whole register file: header, settings line, card names, then `entries` as given.
QByteArray registerFile(const QByteArray &entries, const QByteArray &settingsLine = kSettingsLine);

// "<missing>" for a file that cannot be read, so a missing file never passes for an empty one.
QByteArray readFile(const QString &path);
// Creates the folders on the way; fails the running test when the file cannot be written.
void writeFile(const QString &path, const QByteArray &bytes);
// The lines of a file without their CR LF ends.
QList<QByteArray> lines(const QByteArray &bytes);
// Everything in a folder, hidden files included, by name.
QStringList entriesOf(const QString &dir);

// The providers' names in table order.
QStringList names(const ProviderTable &table);

// Asks a helper process to end and kills it when it does not within `ms`.
void stopProcess(QProcess &process, int ms = 3000);

// A fresh program folder for one test: the program looks for its files there while it lives.
class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder &) = delete;
    ProgramFolder &operator=(const ProgramFolder &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QByteArray read(const QString &name) const { return readFile(filePath(name)); }
    void write(const QString &name, const QByteArray &bytes) const { writeFile(filePath(name), bytes); }

private:
    QTemporaryDir m_dir;
};

} // namespace quirlanto::test
