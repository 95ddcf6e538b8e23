#pragma once

#include "dial/numberpreparation.h"
#include "options/settings.h"

#include <QString>
#include <QStringList>

namespace quirlanto {

// "AT" extra "D" T|P outside prefix number [",!," handover] ";H" CR
QString buildModemCommand(const PreparedNumber &prepared, const Settings &settings);
// What a device that is itself the line dials: prefixes and number without the modem's pause,
// flash and end marks.
QString lineDigits(const PreparedNumber &prepared);

// Tone names a command line plays, in order: "0".."9", "#", "stern", "pause2000".
QStringList tonePlan(const QString &commandLine);

// Path of a tone file: program folder + "snd/" + name + ".WAV".
QString toneFilePath(const QString &programDirectoryWithSeparator, const QString &toneName);

} // namespace quirlanto
