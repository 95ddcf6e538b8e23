// The desktop's phone program as a dial device: the real xdg-open and a recording tel: handler
// registered in a temporary XDG_DATA_HOME.
#include "dial/phoneprogram.h"
#include "telhandlerhome.h"

#include <QSignalSpy>
#include <QtTest>

using namespace quirlanto;

class TestPhoneProgram : public QObject {
    Q_OBJECT

    test::TelHandlerHome m_home;

    // What the phone program's dial ended with.
    static DialResult dial(PhoneProgramDial &backend, const QString &number)
    {
        QSignalSpy finished(&backend, &DialBackend::finished);
        backend.start({QString(), number});
        [&] { QVERIFY(finished.wait(10000)); }();
        return finished.isEmpty() ? DialResult{} : finished.first().first().value<DialResult>();
    }

private slots:
    void initTestCase() { m_home.enter(); }
    void init() { m_home.clear(); }

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
        PhoneProgramDial backend;
        const DialResult result = dial(backend, "4989");
        QCOMPARE(result.kind, DialResult::Kind::Failed);
        QVERIFY2(result.message.contains(message), qPrintable(result.message));
        QCOMPARE(m_home.recorded().isEmpty(), launcher.isEmpty() || launcher == "quirlanto.desktop");
    }

    // A phone program started by xdg-open keeps it waiting; once handed over, how the program
    // ends later is no refusal of the number.
    void longRunningPhoneProgramIsNoFailure()
    {
        m_home.install("softphone.desktop", 1, 3);
        PhoneProgramDial backend(1000);
        QCOMPARE(dial(backend, "4989").kind, DialResult::Kind::Done);
        QVERIFY(!m_home.recorded().contains("ended")); // the dial did not wait for the program
        QTRY_COMPARE_WITH_TIMEOUT(m_home.recorded(), QString("tel:+4989\nended\n"), 10000);
    }
};

QTEST_GUILESS_MAIN(TestPhoneProgram)
#include "tst_phoneprogram.moc"
