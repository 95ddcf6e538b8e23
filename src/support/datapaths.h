#pragma once

#include <QString>

namespace quirlanto {

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

} // namespace quirlanto
