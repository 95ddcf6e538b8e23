#include "fritzbox/networkloader.h"

#include "support/builtmodules.h"
#include "support/datadirectory.h"
#include "support/programdirectory.h"

#include <QDir>
#include <map>

namespace quirlanto {

const NetworkFunctions *loadNetworkModule(const QString &programDirectory, QString *problem)
{
    static std::map<QString, NetworkFunctions> loaded; // nodes stay where they are
    const QString path = programDirectory.isEmpty()
                             ? moduleDirectory() + QLatin1String(network::kModuleName)
                             : withTrailingSlash(programDirectory) + QLatin1String(network::kModuleFile);
    if (auto it = loaded.find(path); it != loaded.end())
        return &it->second;
    const ModuleLoad module = loadModule(path, builtNetworkModule(),
                                         {network::kCreateHttpClientSymbol, network::kCreateLineConnectionSymbol,
                                          network::kReadPasswordSymbol, network::kWritePasswordSymbol});
    if (module.functions.isEmpty()) {
        *problem = module.damaged ? module.problem
                                  : QStringLiteral("Die Netzwerkanbindung „%1“ kann nicht geladen werden:\n%2")
                                        .arg(QDir::toNativeSeparators(path), module.problem);
        return nullptr;
    }
    NetworkFunctions functions;
    functions.createHttpClient = reinterpret_cast<network::CreateHttpClientFunction>(module.functions[0]);
    functions.createLineConnection = reinterpret_cast<network::CreateLineConnectionFunction>(module.functions[1]);
    functions.readPassword = reinterpret_cast<network::ReadPasswordFunction>(module.functions[2]);
    functions.writePassword = reinterpret_cast<network::WritePasswordFunction>(module.functions[3]);
    return &loaded.emplace(path, functions).first->second;
}

} // namespace quirlanto
