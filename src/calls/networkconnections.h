#pragma once

#include "calls/callmonitor.h"

namespace quirlanto {

// Line connections from the network module, loaded at the first call of the factory.
CallMonitor::ConnectionFactory networkLineConnections();

} // namespace quirlanto
