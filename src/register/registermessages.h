#pragma once

#include "register/phonebook.h"
#include "support/datapaths.h"

#include <QString>

namespace quirlanto {

// What the windows tell about loading the register.
QString newRegisterMessage();
QString incompatibleRegisterMessage();
// The message for an outcome other than Loaded.
QString registerLoadMessage(const LoadRegisterOutcome &outcome, const DataPaths &paths);

} // namespace quirlanto
