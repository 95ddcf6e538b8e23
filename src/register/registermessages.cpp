#include "register/registermessages.h"

#include "providers/providermessages.h"
#include "support/messagebox.h"

namespace quirlanto {

QString newRegisterMessage()
{
    return QStringLiteral("Es wurde eine neue Telefon- und Einstellungendatei angelegt.\n"
                          "Sie sollten daher die Programmeinstellungen jetzt überprüfen!");
}

QString registerLoadMessage(const LoadRegisterOutcome &outcome, const DataPaths &paths)
{
    switch (outcome.kind) {
    case LoadRegisterOutcome::Kind::Loaded:
        return {};
    case LoadRegisterOutcome::Kind::CreatedNew:
        return newRegisterMessage();
    case LoadRegisterOutcome::Kind::Incompatible:
        return incompatibleRegisterMessage();
    case LoadRegisterOutcome::Kind::Unreadable:
        return QStringLiteral("Die Telefonliste „%1“ kann nicht gelesen werden:\n%2.\n\n"
                              "Das Programm wird beendet, ohne etwas zu ändern.")
            .arg(paths.registerPath, outcome.problem);
    case LoadRegisterOutcome::Kind::LoadedDamaged:
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

LoadRegisterOutcome::Kind loadDocument(RegisterDocument &book, QWidget *parent)
{
    const LoadRegisterOutcome outcome = book.loadRegister();
    switch (outcome.kind) {
    case LoadRegisterOutcome::Kind::Incompatible:
    case LoadRegisterOutcome::Kind::Unreadable:
        MessageBoxes::critical(parent, registerLoadMessage(outcome, book.paths()));
        return outcome.kind;
    case LoadRegisterOutcome::Kind::LoadedDamaged:
        MessageBoxes::show(parent, MessageIcon::Warning, registerLoadMessage(outcome, book.paths()));
        break;
    case LoadRegisterOutcome::Kind::CreatedNew:
        if (MessageBoxes::reportWrite(parent, outcome.writeResult))
            MessageBoxes::information(parent, registerLoadMessage(outcome, book.paths()));
        break;
    case LoadRegisterOutcome::Kind::Loaded:
        break;
    }
    const LoadProviderResult providers = book.loadProviders();
    if (!providers.ok || !providers.problem.isEmpty())
        MessageBoxes::show(parent, MessageIcon::Warning, providerLoadMessage(providers, book.paths().providerPath));
    return outcome.kind;
}

} // namespace quirlanto
