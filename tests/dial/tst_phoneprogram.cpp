// The desktop's phone program: the real xdg-open and a recording tel: handler registered in a
// temporary XDG_DATA_HOME.
#include "dial/phoneprogram.h"
#include "memorysettingsstore.h"
#include "telhandlerhome.h"

#include <QtTest>

using namespace quirlanto;

class TestPhoneProgram : public QObject {
    Q_OBJECT

    test::TelHandlerHome m_home;

private slots:
    void initTestCase() { m_home.enter(); }
    void init() { m_home.clear(); }

    void choiceLivesInTheSettingsStore()
    {
        MemorySettingsStore store;
        DesktopPhone phone(store);
        QVERIFY(!phone.isChosen());
        phone.setChosen(true);
        QCOMPARE(store.values().value("Dial/Device"), QVariant("phone-program"));
        phone.setChosen(false);
        QVERIFY(store.values().isEmpty());
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("launcher");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("none") << QString() << 0 << "kein Telefon-Programm";
        QTest::newRow("itself") << "quirlanto.desktop" << 0 << "Quirlanto selbst";
        QTest::newRow("handler fails") << "kaputt.desktop" << 3 << "„Telefon“ konnte die Nummer +4989 nicht übernehmen";
    }
    void refusals()
    {
        QFETCH(QString, launcher);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        if (!launcher.isEmpty())
            m_home.install(launcher, exitCode);
        MemorySettingsStore store;
        QString refused;
        const QString problem = DesktopPhone(store).dial("4989", [&refused](const QString &text) { refused = text; });
        QTRY_VERIFY2((problem + refused).contains(message), qPrintable(problem + refused));
        QCOMPARE(m_home.recorded().isEmpty(), launcher.isEmpty() || launcher == "quirlanto.desktop");
    }

    // A phone program started by xdg-open keeps it waiting; once handed over, how the program
    // ends later is no refusal of the number.
    void longRunningPhoneProgramIsNoFailure()
    {
        m_home.install("softphone.desktop", 1, 3);
        MemorySettingsStore store;
        QString refused;
        QCOMPARE(DesktopPhone(store, 1000).dial("4989", [&refused](const QString &text) { refused = text; }),
                 QString());
        QVERIFY(!m_home.recorded().contains("ended")); // dial() did not wait for the program
        QTRY_COMPARE_WITH_TIMEOUT(m_home.recorded(), QString("tel:+4989\nended\n"), 10000);
        QTest::qWait(200); // xdg-open's end reaches us after the program's
        QCOMPARE(refused, QString());
    }
};

QTEST_GUILESS_MAIN(TestPhoneProgram)
#include "tst_phoneprogram.moc"
