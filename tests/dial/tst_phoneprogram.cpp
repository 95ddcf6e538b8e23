// The desktop's phone program as a dial device: the real xdg-open and a recording tel: handler
// registered in a temporary XDG_DATA_HOME.
#include "dial/handoffecho.h"
#include "dial/phoneprogram.h"
#include "fixedclock.h"
#include "telhandlerhome.h"

#include <QSignalSpy>
#include <QtTest>

#include <sys/resource.h>

using namespace quirlanto;

class TestPhoneProgram : public QObject {
    Q_OBJECT

    test::TelHandlerHome m_home;

    // What the phone program's dial ended with.
    static DialResult dial(PhoneProgramDial &backend, const QString &number)
    {
        QSignalSpy finished(&backend, &DialBackend::finished);
        DialRequest request;
        request.internationalNumber = number;
        backend.start(request);
        [&] { QVERIFY(!finished.isEmpty() || finished.wait(10000)); }();
        return finished.isEmpty() ? DialResult{} : finished.first().first().value<DialResult>();
    }

    // Open descriptors and child processes of this test.
    static QPair<int, int> descriptorsAndChildren()
    {
        int children = 0;
        for (const QString &task : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile file("/proc/self/task/" + task + "/children");
            if (file.open(QIODevice::ReadOnly))
                children += QString(file.readAll()).split(' ', Qt::SkipEmptyParts).size();
        }
        return {int(QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::System).size()), children};
    }

private slots:
    void initTestCase() { m_home.enter(); }
    void init() { m_home.clear(); }

    void refusals_data()
    {
        QTest::addColumn<QString>("launcher");
        QTest::addColumn<QString>("exec"); // the recording program when empty; "@self": this program
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("starved"); // no descriptor left to start a program
        QTest::addColumn<QString>("message");
        const QString itself = "Quirlanto selbst";
        QTest::newRow("none") << QString() << QString() << 0 << false << "kein Telefon-Programm";
        QTest::newRow("itself") << "quirlanto.desktop" << QString() << 0 << false << itself;
        QTest::newRow("this program, quoted") << "telefon.desktop"
                                              << "\"@self\"" << 0 << false << itself;
        QTest::newRow("installed name through env") << "telefon.desktop"
                                                    << "env A=1 quirlanto" << 0 << false << itself;
        QTest::newRow("another folder") << "telefon.desktop"
                                        << "/opt/x/quirlanto" << 0 << false << itself;
        QTest::newRow("handler fails") << "kaputt.desktop" << QString() << 3 << false
                                       << "„Telefon“ konnte die Nummer +4989 nicht übernehmen";
        QTest::newRow("no descriptors") << "telefon.desktop" << QString() << 0 << true
                                        << "xdg-mime ließ sich nicht starten (" + qt_error_string(EMFILE);
    }
    void refusals()
    {
        QFETCH(QString, launcher);
        QFETCH(QString, exec);
        QFETCH(int, exitCode);
        QFETCH(bool, starved);
        QFETCH(QString, message);
        if (!launcher.isEmpty())
            m_home.install(launcher, exitCode, 0, exec.replace("@self", QCoreApplication::applicationFilePath()));
        PhoneProgramDial backend;
        rlimit limit{};
        getrlimit(RLIMIT_NOFILE, &limit);
        const rlimit starving{3, limit.rlim_max}; // below the descriptors already open
        setrlimit(RLIMIT_NOFILE, starved ? &starving : &limit);
        const DialResult result = dial(backend, "4989");
        setrlimit(RLIMIT_NOFILE, &limit);
        QCOMPARE(result.kind, DialResult::Kind::Failed);
        QVERIFY2(result.message.contains(message), qPrintable(result.message));
        QCOMPARE(m_home.recorded().isEmpty(), exitCode == 0);
        QCOMPARE(HandOffEcho::shared().isEcho("4989"), exitCode != 0);
    }

    // A phone program that stays: a hand-off lets it go, nothing of it stays with this program.
    void handOffsLeaveNoDescriptorsOrChildren()
    {
        m_home.install("softphone.desktop", 0, 30);
        PhoneProgramDial backend(300);
        const auto before = descriptorsAndChildren();
        for (int i = 0; i < 5; ++i)
            QCOMPARE(dial(backend, "4989").kind, DialResult::Kind::Done);
        QTRY_COMPARE(descriptorsAndChildren(), before);
    }

    // Our own number comes back only within seconds of its hand-off, and only once.
    void handOffEcho_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("echo");
        QTest::newRow("at once") << "4989" << 0 << true;
        QTest::newRow("within the window") << "4989" << 10 << true;
        QTest::newRow("later") << "4989" << 11 << false;
        QTest::newRow("another number") << "4930" << 0 << false;
    }
    void handOffEcho()
    {
        QFETCH(QString, number);
        QFETCH(int, seconds);
        QFETCH(bool, echo);
        const QDateTime start(QDate(2026, 1, 5), QTime(9, 0));
        FixedClock clock(start);
        HandOffEcho handOffs(clock);
        handOffs.handedOver("4989");
        clock.set(start.addSecs(seconds));
        QCOMPARE(handOffs.isEcho(number), echo);
        QVERIFY(!handOffs.isEcho(number));
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
