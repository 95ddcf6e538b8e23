#include "support/datapaths.h"

namespace quirlanto {

DataPaths DataPaths::inDirectory(const QString &directoryWithSeparator)
{
    return DataPaths{
        directoryWithSeparator + QLatin1String(kRegisterFileName),
        directoryWithSeparator + QLatin1String(kRegisterBackupName),
        directoryWithSeparator + QLatin1String(kProviderFileName),
        directoryWithSeparator + QLatin1String(kProviderBackupName),
    };
}

} // namespace quirlanto
