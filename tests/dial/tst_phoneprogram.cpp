// Dialing through the desktop's phone program: the real xdg-open and a recording tel: handler
// registered in a temporary XDG_DATA_HOME.
#include "dial/clipboardsource.h"
#include "dial/dialer.h"
#include "dial/phoneprogram.h"
#include "dialfixture.h"
#include "support/clock.h"
#include "support/messagebox.h"
#include "support/settingsstore.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace quirlanto;

class TestPhoneProgram : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_record;

    // Installs a launcher `id` whose program records its argument, stays `seconds` and exits with
    // `exitCode`; "ended" is recorded last.
    void installHandler(const QString &id, int exitCode, int seconds = 0)
    {
        const QString script = m_dir.filePath(id + ".sh");
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\nsleep %3\n%4exit %2\n")
                       .arg(m_record)
                       .arg(exitCode)
                       .arg(seconds)
                       .arg(seconds ? QStringLiteral("echo ended >> '%1'\n").arg(m_record) : QString())
                       .toUtf8());
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        QFile desktop(m_dir.filePath("data/applications/" + id));
        QVERIFY(desktop.open(QIODevice::WriteOnly));
        desktop.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=Telefon\nExec=%1 %u\n"
                                     "MimeType=x-scheme-handler/tel;\n")
                          .arg(script)
                          .toUtf8());
        desktop.close();
        QCOMPARE(QProcess::execute("xdg-mime", {"default", id, "x-scheme-handler/tel"}), 0);
    }
    // What the phone program's dial ended with.
    static DialResult dial(PhoneProgramDial &backend, const QString &number)
    {
        QSignalSpy finished(&backend, &DialBackend::finished);
        backend.start({QString(), number});
        [&] { QVERIFY(finished.wait(10000)); }();
        return finished.isEmpty() ? DialResult{} : finished.first().first().value<DialResult>();
    }
    QString recorded() const
    {
        QFile file(m_record);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir().mkpath(m_dir.filePath("data/applications")));
        QVERIFY(QDir().mkpath(m_dir.filePath("config")));
        qputenv("XDG_DATA_HOME", m_dir.filePath("data").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath("config").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", m_dir.filePath("none").toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", m_dir.filePath("none").toLocal8Bit());
        qunsetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("DE");
        // Without a display xdg-open only tries text browsers.
        qputenv("DISPLAY", ":0");
        m_record = m_dir.filePath("record.txt");
        MessageBoxes::setAutoAnswer(true);
    }
    void init()
    {
        QFile::remove(m_record);
        QFile::remove(m_dir.filePath("config/mimeapps.list"));
        QDir applications(m_dir.filePath("data/applications"));
        for (const QString &name : applications.entryList(QDir::Files))
            applications.remove(name);
        MessageBoxes::clearShown();
    }

    void entriesClipboardAndRedialReachTheHandler()
    {
        installHandler("telefon.desktop", 0);
        MemorySettingsStore store;
        test::DialDocument doc;
        doc.book.setChoiceStore(&store);
        doc.book.setDialDevice(DialDevice::PhoneProgram);
        doc.set([](Settings &s) { s.outsideLinePrefix = "0"; });
        test::FakeDialView view;
        view.selected = PhoneEntry{"Muster", "4930123456", true};
        FakeClipboardSource clipboard;
        clipboard.setText("089 / 555 12");
        FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(10, 0))};
        Dialer dialer(doc.book, view, clipboard, clock);
        PhoneProgramDial phoneProgram(1000);
        dialer.setBackend(DialDevice::PhoneProgram, &phoneProgram);

        QString expected;
        for (const auto &[mode, number] : {std::pair{DialMode::SelectedEntry, "4930123456"},
                                           {DialMode::Clipboard, "498955512"},
                                           {DialMode::Redial, "498955512"}}) {
            dialer.dial(mode);
            expected += QStringLiteral("tel:+%1\n").arg(number);
            QTRY_COMPARE(recorded(), expected);
            QTRY_VERIFY(!dialer.isDialing());
        }
        QCOMPARE(view.statusTexts.first(), QString("Wähle +4930123456"));
        QVERIFY(MessageBoxes::shown().isEmpty());
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
            installHandler(launcher, exitCode);
        PhoneProgramDial backend;
        const DialResult result = dial(backend, "4989");
        QCOMPARE(result.kind, DialResult::Kind::Failed);
        QVERIFY2(result.message.contains(message), qPrintable(result.message));
        QCOMPARE(recorded().isEmpty(), launcher.isEmpty() || launcher == "quirlanto.desktop");
    }

    // A phone program started by xdg-open keeps it waiting; once handed over, how the program
    // ends later is no refusal of the number.
    void longRunningPhoneProgramIsNoFailure()
    {
        installHandler("softphone.desktop", 1, 3);
        PhoneProgramDial backend(1000);
        QCOMPARE(dial(backend, "4989").kind, DialResult::Kind::Done);
        QVERIFY(!recorded().contains("ended")); // the dial did not wait for the program
        QTRY_COMPARE_WITH_TIMEOUT(recorded(), QString("tel:+4989\nended\n"), 10000);
    }
};

QTEST_MAIN(TestPhoneProgram)
#include "tst_phoneprogram.moc"
