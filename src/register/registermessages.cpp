#include "register/registermessages.h"

namespace quirlanto {

QString newRegisterMessage()
{
    return QStringLiteral("Es wurde eine neue Telefon- und Einstellungendatei angelegt.\n"
                          "Sie sollten daher die Programmeinstellungen jetzt überprüfen!");
}

QString registerLoadMessage(const LoadRegisterOutcome &outcome, const DataPaths &paths)
{
    switch (outcome.kind) {
    case LoadRegisterOutcome::Loaded:
        return {};
    case LoadRegisterOutcome::CreatedNew:
        return newRegisterMessage();
    case LoadRegisterOutcome::Incompatible:
        return incompatibleRegisterMessage();
    case LoadRegisterOutcome::Unreadable:
        return QStringLiteral("Die Telefonliste „%1“ kann nicht gelesen werden:\n%2.\n\n"
                              "Das Programm wird beendet, ohne etwas zu ändern.")
            .arg(paths.registerPath, outcome.problem);
    case LoadRegisterOutcome::LoadedDamaged:
        break;
    }
    QString text = QStringLiteral("Die Telefonliste konnte nicht vollständig gelesen werden:\n") + outcome.problem;
    if (outcome.preservedCopy.isEmpty()) {
        text += QStringLiteral("\nEine Kopie der ursprünglichen Datei konnte nicht angelegt werden: %1.")
                    .arg(outcome.copyError);
    } else {
        text += QStringLiteral("\n\nDie ursprüngliche Datei wurde unverändert als „%1“ aufbewahrt.")
                    .arg(outcome.preservedCopy);
    }
    return text;
}

QString incompatibleRegisterMessage()
{
    return QStringLiteral("Die Telefonliste ist nicht kompatibel und\n"
                          "kann daher nicht eingelesen werden.\n\n"
                          "Das Programm wird abgebrochen");
}

} // namespace quirlanto
