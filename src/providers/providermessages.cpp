#include "providers/providermessages.h"

namespace quirlanto {

QString providerLoadMessage(const LoadProviderResult &result, const QString &path)
{
    QString detail;
    if (!result.ok) {
        detail = QStringLiteral("Die Datei kann nicht gelesen werden: %1.\n\nSie bleibt unverändert; "
                                "Änderungen an der Provider-Liste werden nicht gespeichert, bis Quirlanto "
                                "sie wieder lesen kann.")
                     .arg(result.problem);
    } else if (!result.preservedCopy.isEmpty()) {
        detail = result.problem
                 + QStringLiteral("\n\nDie ursprüngliche Datei wurde unverändert als „%1“ aufbewahrt.")
                       .arg(result.preservedCopy);
    } else {
        detail = result.problem
                 + QStringLiteral("\n\nDie ursprüngliche Datei konnte nicht aufbewahrt werden (%1); "
                                  "die nächste Änderung der Liste ersetzt sie.")
                       .arg(result.copyError);
    }
    return QStringLiteral("Die Provider-Liste „%1“ konnte nicht vollständig gelesen werden:\n%2").arg(path, detail);
}

} // namespace quirlanto
