#pragma once

#include "options/settings.h"
#include "register/registercard.h"
#include "support/datapaths.h"
#include "support/safefilewriter.h"

#include <QByteArray>
#include <QString>

namespace quirlanto {

inline constexpr auto kRegisterHeader = "[QUIRLANTO VERSION 4]";

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
    // False when the first line is not our header (another program's or version's file);
    // nothing was read then.
    bool compatible = true;
};

// The whole file as bytes (header, settings, card names, entries; Windows-1252, CR LF).
// Double quotes become apostrophes in the bytes.
QByteArray registerBytes(const RegisterContents &contents);
// A whole file: the header line, then the fields. A file without any field reads as the
// defaults, with a problem.
ReadRegisterResult readRegisterFile(const QByteArray &data);
// Reads the fields after the header line. `data` is the whole file, `offset` the start of line 2.
ReadRegisterResult readRegister(const QByteArray &data, qsizetype offset);

// The bytes through the backup rotation.
WriteResult writeRegister(const RegisterContents &contents, const DataPaths &paths);

} // namespace quirlanto
