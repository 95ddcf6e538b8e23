#include "support/qttranslation.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace quirlanto;

class TestQtTranslation : public QObject {
    Q_OBJECT
private slots:
    void missingTranslationsChangeNothing()
    {
        QTemporaryDir empty;
        QVERIFY(!installGermanQtTexts(empty.path()));
        QCOMPARE(QCoreApplication::translate("QLineEdit", "&Undo"), QStringLiteral("&Undo"));
    }

    void contextMenuTextsAreGerman()
    {
        QVERIFY2(installGermanQtTexts(), "qtbase_de.qm missing: scripts/packages.sh installs qt6-translations-l10n");
        QCOMPARE(QCoreApplication::translate("QLineEdit", "&Undo"), QStringLiteral("&Rückgängig"));
        QCOMPARE(QCoreApplication::translate("QLineEdit", "Select All"), QStringLiteral("Alles auswählen"));
    }
};

QTEST_GUILESS_MAIN(TestQtTranslation)
#include "tst_qttranslation.moc"
