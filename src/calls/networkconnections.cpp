#include "calls/networkconnections.h"

#include "fritzbox/networkloader.h"

namespace quirlanto {

CallMonitor::ConnectionFactory networkLineConnections(const QString &programDirectory)
{
    return [programDirectory](QObject *parent, QString *problem) -> network::LineConnection * {
        const NetworkFunctions *module = loadNetworkModule(programDirectory, problem);
        return module ? module->createLineConnection(parent) : nullptr;
    };
}

} // namespace quirlanto
