#pragma once

#include "fritzbox/networkmodule.h"

#include <QString>

namespace quirlanto {

struct NetworkFunctions {
    network::CreateHttpClientFunction createHttpClient = nullptr;
    network::CreateLineConnectionFunction createLineConnection = nullptr;
    network::ReadPasswordFunction readPassword = nullptr;
    network::WritePasswordFunction writePassword = nullptr;
};

// Loads lib/quirlanto-network.so of the program folder (moduleDirectory() when programDirectory is
// empty); null with a German `problem` when it cannot be loaded.
const NetworkFunctions *loadNetworkModule(const QString &programDirectory, QString *problem);

} // namespace quirlanto
