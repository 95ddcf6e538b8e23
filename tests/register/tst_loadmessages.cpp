// What the start says about the data files, for the outcomes the register document reports.
#include "providers/providermessages.h"
#include "register/registermessages.h"

#include <QTest>

using namespace quirlanto;

class TestLoadMessages : public QObject {
    Q_OBJECT
private slots:
    void wording_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("expected");
        const auto onRegister = [](LoadRegisterOutcome::Kind kind, const QString &problem = {},
                                   const QString &copy = {}, const QString &copyError = {}) {
            LoadRegisterOutcome outcome;
            outcome.kind = kind;
            outcome.problem = problem;
            outcome.preservedCopy = copy;
            outcome.copyError = copyError;
            return registerLoadMessage(outcome, DataPaths::inDirectory(QStringLiteral("/d/")));
        };
        const auto onProviders = [](bool ok, const QString &problem, const QString &copy = {},
                                    const QString &copyError = {}) {
            LoadProviderResult result;
            result.ok = ok;
            result.problem = problem;
            result.preservedCopy = copy;
            result.copyError = copyError;
            return providerLoadMessage(result, QStringLiteral("/d/Provider.ini"));
        };
        const QString damaged =
            QStringLiteral("Die Telefonliste konnte nicht vollständig gelesen werden:\nZeile 4: %1");
        const QString providers =
            QStringLiteral("Die Provider-Liste „/d/Provider.ini“ konnte nicht vollständig gelesen werden:\n");
        const QString noSpace = QStringLiteral("Kein Speicherplatz mehr frei");

        QTest::newRow("register unreadable")
            << onRegister(LoadRegisterOutcome::Kind::Unreadable, QStringLiteral("Es ist keine gewöhnliche Datei"))
            << QStringLiteral("Die Telefonliste „/d/Telefonregister.ini“ kann nicht gelesen werden:\nEs ist keine "
                              "gewöhnliche Datei.\n\nDas Programm wird beendet, ohne etwas zu ändern.");
        QTest::newRow("register damaged, kept")
            << onRegister(LoadRegisterOutcome::Kind::LoadedDamaged, QStringLiteral("Zeile 4: %1"),
                          QStringLiteral("/d/k"))
            << damaged + QStringLiteral("\n\nDie ursprüngliche Datei wurde unverändert als „/d/k“ aufbewahrt.");
        QTest::newRow("register damaged, no copy")
            << onRegister(LoadRegisterOutcome::Kind::LoadedDamaged, QStringLiteral("Zeile 4: %1"), QString(), noSpace)
            << damaged + "\nEine Kopie der ursprünglichen Datei konnte nicht angelegt werden: " + noSpace + '.';
        QTest::newRow("register new") << onRegister(LoadRegisterOutcome::Kind::CreatedNew) << newRegisterMessage();
        QTest::newRow("register loaded") << onRegister(LoadRegisterOutcome::Kind::Loaded) << QString();

        QTest::newRow("providers unreadable")
            << onProviders(false, QStringLiteral("Es ist keine gewöhnliche Datei"))
            << providers
                   + QStringLiteral("Die Datei kann nicht gelesen werden: Es ist keine gewöhnliche Datei.\n\n"
                                    "Sie bleibt unverändert; Änderungen an der Provider-Liste werden nicht "
                                    "gespeichert, bis Quirlanto sie wieder lesen kann.");
        QTest::newRow("providers damaged, kept")
            << onProviders(true, QStringLiteral("Zeile 2: %1"), QStringLiteral("/d/k"))
            << providers
                   + QStringLiteral("Zeile 2: %1\n\nDie ursprüngliche Datei wurde unverändert als „/d/k“ "
                                    "aufbewahrt.");
        QTest::newRow("providers damaged, no copy")
            << onProviders(true, QStringLiteral("Zeile 2: %1"), QString(), noSpace)
            << providers + "Zeile 2: %1\n\nDie ursprüngliche Datei konnte nicht aufbewahrt werden (" + noSpace
                   + "); die nächste Änderung der Liste ersetzt sie.";
    }

    void wording()
    {
        QFETCH(QString, message);
        QFETCH(QString, expected);
        QCOMPARE(message, expected);
    }
};

QTEST_GUILESS_MAIN(TestLoadMessages)
#include "tst_loadmessages.moc"
