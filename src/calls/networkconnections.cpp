#include "calls/networkconnections.h"

namespace quirlanto {

CallMonitor::ConnectionFactory networkLineConnections()
{
    return [](QObject *, QString *problem) -> network::LineConnection * {
        *problem = QStringLiteral("Das Netzwerk-Modul fehlt.");
        return nullptr;
    };
}

} // namespace quirlanto
