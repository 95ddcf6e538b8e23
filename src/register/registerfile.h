#pragma once

#include "options/settings.h"
#include "register/registercard.h"
#include "support/safefilewriter.h"

#include <QByteArray>
#include <QString>

namespace quirlanto {

inline constexpr auto kRegisterHeader = "[QUIRLANTO VERSION 4]";
inline constexpr auto kRegisterFileName = "Telefonregister.ini";
inline constexpr auto kRegisterBackupName = "Telefonregister.bak";
inline constexpr auto kProviderFileName = "Provider.ini";
inline constexpr auto kProviderBackupName = "Provider.bak";

// Where the data files live; all four derive from the program folder.
struct DataPaths {
    QString registerPath;
    QString registerBackupPath;
    QString providerPath;
    QString providerBackupPath;

    static DataPaths inDirectory(const QString &directoryWithSeparator);
};

struct RegisterContents {
    Settings settings;
    RegisterCards cards = defaultCards();

    bool operator==(const RegisterContents &) const = default;
};

struct ReadRegisterResult {
    RegisterContents contents;
    // Empty when the file was read as the program wrote it; otherwise German text saying
    // what could not be used (the readable part is in contents).
    QString problem;
};

// The whole file as bytes (header, settings, card names, entries; Windows-1252, CR LF).
// Double quotes become apostrophes in the bytes; `contents` is not changed.
QByteArray registerBytes(const RegisterContents &contents);
// Reads the fields after the header line. `data` is the whole file, `offset` the start of line 2.
ReadRegisterResult readRegister(const QByteArray &data, qsizetype offset);

// Applies quotesToApostrophes to the four settings texts that are changed in place, then
// writes the file through the backup rotation.
WriteResult writeRegister(RegisterContents &contents, const DataPaths &paths);

// Outcome of loading at start-up; the windows show the messages.
struct LoadRegisterOutcome {
    enum Kind {
        Loaded,        // read as it was
        LoadedDamaged, // read what could be used; `problem` says what, `preservedCopy` where the original is kept
        CreatedNew,    // missing file: defaults written (see writeResult), show the new-file message
        Incompatible,  // header mismatch: show the stop message and end, write nothing
        Unreadable     // exists but cannot be opened; `problem` says why, nothing written
    } kind = Loaded;
    RegisterContents contents;
    QString problem;
    QString preservedCopy;
    WriteResult writeResult; // of the new file, for CreatedNew
};

LoadRegisterOutcome loadRegister(const DataPaths &paths);

// Texts the windows show for the outcomes.
QString newRegisterMessage();
QString incompatibleRegisterMessage();
// The message for an outcome other than Loaded.
QString registerLoadMessage(const LoadRegisterOutcome &outcome, const DataPaths &paths);

} // namespace quirlanto
