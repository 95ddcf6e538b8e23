// The phone programs offered and what they run; the chosen one dials a recording phone program.
#include "dial/handoffecho.h"
#include "dial/phoneprogram.h"
#include "fixedclock.h"
#include "telhandlerhome.h"

#include <QSignalSpy>
#include <QtTest>

using namespace quirlanto;

class TestPhoneProgram : public QObject {
    Q_OBJECT

    test::TelHandlerHome m_home;

    // What the phone program's dial ended with.
    static DialResult dial(PhoneProgramDial &backend, const QString &number, const QString &program)
    {
        QSignalSpy finished(&backend, &DialBackend::finished);
        DialRequest request;
        request.internationalNumber = number;
        request.phoneProgram = program;
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

    // Which launchers are offered as phone programs, and what each runs for "tel:+4989".
    void launchers_data()
    {
        QTest::addColumn<QString>("path"); // below "applications"
        QTest::addColumn<QString>("user"); // the user's launcher of that name, if any
        QTest::addColumn<QString>("system");
        QTest::addColumn<QStringList>("command"); // empty: not offered; "@file": the launcher
        const QString tel = "tel:+4989";
        const auto row = [](const char *name, const char *path, const char *user, const QString &system,
                            const QStringList &command) {
            QTest::newRow(name) << QString(path) << QString(user) << system << command;
        };
        row("field codes", "phone.desktop", "", "Exec=phone --call %u %i %c %k %d 100%%\nIcon=telefon",
            {"phone", "--call", tel, "--icon", "telefon", "Telefon", "@file", "100%"});
        row("quoting", "phone.desktop", "", R"(Exec="/opt/Mein Telefon/phone" "x \\"y\\" \\$z" --call=%U)",
            {"/opt/Mein Telefon/phone", R"(x "y" $z)", "--call=" + tel});
        row("no field code", "phone.desktop", "", "Exec=phone", {"phone", tel});
        row("subfolder, not in menus", "kde/phone.desktop", "", "Exec=phone %f\nNoDisplay=true\nTryExec=sh",
            {"phone", tel});
        row("the user's own copy", "phone.desktop", "Exec=mine %u", "Exec=phone %u", {"mine", tel});
        row("deleted by the user", "phone.desktop", "Hidden=true", "Exec=phone %u", {});
        row("TryExec missing", "phone.desktop", "", "Exec=phone %u\nTryExec=/nonexistent/phone", {});
        row("no tel: links", "phone.desktop", "", "Exec=phone %u\nMimeType=text/plain;", {});
        row("Quirlanto itself", "quirlanto.desktop", "", "Exec=phone %u", {});
        row("this program, quoted", "phone.desktop", "", "Exec=\"@self\" %u", {});
        row("installed name through env", "phone.desktop", "", "Exec=env A=1 quirlanto %u", {});
    }
    void launchers()
    {
        QFETCH(QString, path);
        QFETCH(QString, user);
        QFETCH(QString, system);
        QFETCH(QStringList, command);
        const auto launcher = [](const QString &lines) {
            return "[Desktop Entry]\nType=Application\nName=Telefon\nMimeType=x-scheme-handler/tel;\n"
                   + QString(lines).replace("@self", QCoreApplication::applicationFilePath()) + "\n";
        };
        const QString systemFile = m_home.write("system", path, launcher(system));
        const QString file = user.isEmpty() ? systemFile : m_home.write("data", path, launcher(user));
        const QList<DesktopLauncher> programs = installedPhonePrograms();
        QCOMPARE(programs.size(), command.isEmpty() ? 0 : 1);
        if (programs.isEmpty())
            return;
        QCOMPARE(programs[0].id, QString(path).replace('/', '-'));
        command.replaceInStrings("@file", file);
        QCOMPARE(launcherCommand(programs[0], "tel:+4989"), command);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("exec"); // the recording program when empty
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("showOptions");
        QTest::newRow("none chosen") << "" << 0 << ""
                                     << "Es ist kein Telefon-Programm gewählt." << true;
        QTest::newRow("gone") << "weg.desktop" << 0 << ""
                              << "„weg“ ist nicht mehr installiert.\n\nBitte wählen Sie" << true;
        QTest::newRow("handler fails") << "telefon.desktop" << 3 << ""
                                       << "„Telefon“ konnte die Nummer +4989 nicht übernehmen" << false;
        QTest::newRow("program missing") << "telefon.desktop" << 0 << "/nonexistent/phone"
                                         << "„Telefon“ ließ sich nicht starten (" + qt_error_string(ENOENT) << false;
    }
    void refusals()
    {
        QFETCH(QString, chosen);
        QFETCH(int, exitCode);
        QFETCH(QString, exec);
        QFETCH(QString, message);
        QFETCH(bool, showOptions);
        m_home.install("telefon.desktop", exitCode, 0, exec);
        PhoneProgramDial backend;
        const DialResult result = dial(backend, "4989", chosen);
        QCOMPARE(result.kind, DialResult::Kind::Failed);
        QVERIFY2(result.message.contains(message), qPrintable(result.message));
        QCOMPARE(result.showOptions, showOptions);
        QCOMPARE(m_home.recorded().isEmpty(), exitCode == 0);
        QCOMPARE(HandOffEcho::shared().isEcho("4989"), chosen == "telefon.desktop");
    }

    // A phone program that stays: a hand-off lets it go, nothing of it stays with this program.
    void handOffsLeaveNoDescriptorsOrChildren()
    {
        m_home.install("softphone.desktop", 0, 30);
        PhoneProgramDial backend(300);
        const auto before = descriptorsAndChildren();
        for (int i = 0; i < 5; ++i)
            QCOMPARE(dial(backend, "4989", "softphone.desktop").kind, DialResult::Kind::Done);
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

    // Once a phone program that stays has taken the number, how it ends later is no refusal.
    void longRunningPhoneProgramIsNoFailure()
    {
        m_home.install("softphone.desktop", 1, 3);
        PhoneProgramDial backend(1000);
        QCOMPARE(dial(backend, "4989", "softphone.desktop").kind, DialResult::Kind::Done);
        QVERIFY(!m_home.recorded().contains("ended")); // the dial did not wait for the program
        QTRY_COMPARE_WITH_TIMEOUT(m_home.recorded(), QString("tel:+4989\nended\n"), 10000);
    }
};

QTEST_GUILESS_MAIN(TestPhoneProgram)
#include "tst_phoneprogram.moc"
