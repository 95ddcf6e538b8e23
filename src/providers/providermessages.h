#pragma once

#include "providers/providerfile.h"

#include <QString>

namespace quirlanto {

// What the start tells the user when the provider file could not be read whole (a result that
// is not ok or has a problem).
QString providerLoadMessage(const LoadProviderResult &result, const QString &path);

} // namespace quirlanto
