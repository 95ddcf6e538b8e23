#pragma once

#include "calls/callmonitor.h"

namespace quirlanto {

// Line connections from the network module, loaded at the first connection. `programDirectory`
// as for loadNetworkModule: empty for moduleDirectory().
CallMonitor::ConnectionFactory networkLineConnections(const QString &programDirectory = {});

} // namespace quirlanto
