// Dialing through the desktop's phone program: the real xdg-open and a recording tel: handler
// registered in a temporary XDG_DATA_HOME.
#include "dial/dialer.h"
#include "dial/modemlink.h"
#include "dial/phoneprogram.h"
#include "dial/toneplayer.h"
#include "fakeclipboardsource.h"
#include "fakedialhost.h"
#include "fixedclock.h"
#include "memorysettingsstore.h"
#include "support/messagebox.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace quirlanto;

namespace {

class SilentTones final : public ToneOutput {
public:
    QString playFiles(const QStringList &paths) override
    {
        played += paths;
        return {};
    }
    QStringList played;
};

} // namespace

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

    void entriesClipboardAndRedialReachTheHandler()
    {
        installHandler("telefon.desktop", 0);
        MemorySettingsStore store;
        DesktopPhone phone(store);
        phone.setChosen(true);
        test::FakeDialHost host;
        host.options.outsideLinePrefix = "0";
        host.selected = PhoneEntry{"Muster", "4930123456", true};
        FakeClipboardSource clipboard;
        clipboard.setText("089 / 555 12");
        SilentTones tones;
        ModemLink modem(store);
        FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(10, 0))};
        Dialer dialer(host, clipboard, modem, tones, clock);
        dialer.setPhoneProgram(&phone);

        QString expected;
        for (const auto &[mode, number] :
             {std::pair{SelectedEntry, "4930123456"}, {Clipboard, "498955512"}, {Redial, "498955512"}}) {
            dialer.dial(mode);
            expected += QStringLiteral("tel:+%1\n").arg(number);
            QTRY_COMPARE(recorded(), expected);
        }
        QCOMPARE(host.statusTexts.first(), QString("Wähle +4930123456"));
        QVERIFY(MessageBoxes::shown().isEmpty());
        QVERIFY(tones.played.isEmpty());
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
        MemorySettingsStore store;
        QString refused;
        const QString problem = DesktopPhone(store).dial("4989", [&refused](const QString &text) { refused = text; });
        QTRY_VERIFY2((problem + refused).contains(message), qPrintable(problem + refused));
        QCOMPARE(recorded().isEmpty(), launcher.isEmpty() || launcher == "quirlanto.desktop");
    }

    // A phone program started by xdg-open keeps it waiting; once handed over, how the program
    // ends later is no refusal of the number.
    void longRunningPhoneProgramIsNoFailure()
    {
        installHandler("softphone.desktop", 1, 3);
        MemorySettingsStore store;
        QString refused;
        QCOMPARE(DesktopPhone(store, 1000).dial("4989", [&refused](const QString &text) { refused = text; }),
                 QString());
        QVERIFY(!recorded().contains("ended")); // dial() did not wait for the program
        QTRY_COMPARE_WITH_TIMEOUT(recorded(), QString("tel:+4989\nended\n"), 10000);
        QTest::qWait(200); // xdg-open's end reaches us after the program's
        QCOMPARE(refused, QString());
    }
};

QTEST_MAIN(TestPhoneProgram)
#include "tst_phoneprogram.moc"
