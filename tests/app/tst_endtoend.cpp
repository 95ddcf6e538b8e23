// The real program from an installed program folder under Xvfb: first start, window, file, "&Ende".
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using quirlanto::test::kNewRegisterFile;
using quirlanto::test::readFile;
using quirlanto::test::stopProcess;

class TestEndToEnd : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QProcess m_xvfb;
    QString m_display;
    QProcessEnvironment m_env;

    QString xdotool(const QStringList &arguments)
    {
        QProcess p;
        p.setProcessEnvironment(m_env);
        p.start(QStringLiteral("xdotool"), arguments);
        p.waitForFinished(10000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    // The first visible window whose title matches, waiting up to twenty seconds (a loaded
    // machine starts the program slowly).
    QString waitForWindow(const QString &titlePattern)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 20000) {
            const QString ids = xdotool({"search", "--onlyvisible", "--name", titlePattern});
            if (!ids.isEmpty())
                return ids.split(QLatin1Char('\n')).first();
            QTest::qWait(100);
        }
        return {};
    }
    // Without a window manager a window can miss a key sent right as it maps: the key is sent
    // again until `done` holds, for up to twenty seconds.
    bool pressKeyUntil(const QString &window, const QString &key, const std::function<bool()> &done)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 20000) {
            xdotool({"windowfocus", "--sync", window});
            xdotool({"key", "--clearmodifiers", key});
            for (int i = 0; i < 10; ++i) {
                if (done())
                    return true;
                QTest::qWait(100);
            }
        }
        return done();
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("Xvfb or xdotool is missing: apt-get install xvfb xdotool");
        QVERIFY(m_root.isValid());

        for (int attempt = 0; attempt < 20 && m_display.isEmpty(); ++attempt) {
            const int number = 100 + int(QRandomGenerator::global()->bounded(800));
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number))
                || QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
                continue;
            m_xvfb.start(QStringLiteral("Xvfb"),
                         {QStringLiteral(":%1").arg(number), "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
            if (!m_xvfb.waitForStarted(5000))
                continue;
            QElapsedTimer timer;
            timer.start();
            while (timer.elapsed() < 5000 && m_xvfb.state() == QProcess::Running
                   && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
                QTest::qWait(50);
            if (m_xvfb.state() == QProcess::Running && QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
                m_display = QStringLiteral(":%1").arg(number);
            else if (m_xvfb.state() != QProcess::NotRunning) {
                m_xvfb.kill();
                m_xvfb.waitForFinished(2000);
            }
        }
        QVERIFY2(!m_display.isEmpty(), "Xvfb did not start");

        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("DISPLAY"), m_display);
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_env.insert(QStringLiteral("HOME"), m_root.filePath(QStringLiteral("home")));
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root.filePath(QStringLiteral("config")));
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_root.filePath(QStringLiteral("run")));
        for (const char *dir : {"home", "config", "run"})
            QVERIFY(QDir(m_root.path()).mkpath(QString::fromLatin1(dir)));
        QFile::setPermissions(m_root.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void cleanupTestCase() { stopProcess(m_xvfb, 5000); }

    void firstStartFromInstalledFolder()
    {
        const QString prefix = m_root.filePath(QStringLiteral("Quirlanto Programm"));
        QProcess install;
        install.start(QStringLiteral(QUIRLANTO_CMAKE_COMMAND),
                      {"--install", QStringLiteral(QUIRLANTO_PROGRAM_DIR), "--prefix", prefix});
        QVERIFY(install.waitForFinished(60000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
        const QString program = prefix + QStringLiteral("/quirlanto");
        QVERIFY(QFile::exists(program));
        QVERIFY(!QFile::exists(prefix + QStringLiteral("/Telefonregister.ini")));

        QProcess quirlanto;
        quirlanto.setProcessEnvironment(m_env);
        quirlanto.setWorkingDirectory(m_root.path()); // the files belong beside the program, not here
        quirlanto.start(program, {});
        QVERIFY(quirlanto.waitForStarted());
        auto stop = qScopeGuard([&] { stopProcess(quirlanto, 5000); });

        // The new-file message comes first and is modal.
        const QString message = waitForWindow(QStringLiteral("^Quirlanto$"));
        QVERIFY2(!message.isEmpty(), "the new-file message did not appear");
        QCOMPARE(QFile(prefix + QStringLiteral("/Telefonregister.ini")).exists(), true);
        QVERIFY2(pressKeyUntil(message, QStringLiteral("Return"),
                               [&] {
                                   return xdotool({"search", "--onlyvisible", "--name", "^Quirlanto$"}).isEmpty();
                               }),
                 "the new-file message did not close");

        const QString window = waitForWindow(QStringLiteral("^Quirlanto 4\\.1$"));
        QVERIFY2(!window.isEmpty(), "the window \"Quirlanto 4.1\" did not appear");
        QCOMPARE(readFile(prefix + QStringLiteral("/Telefonregister.ini")), kNewRegisterFile);
        QVERIFY(!QFile::exists(prefix + QStringLiteral("/Telefonregister.bak")));
        QVERIFY(!QFile::exists(m_root.filePath(QStringLiteral("Telefonregister.ini"))));

        // "&Ende" on the options card: the options are written once more, the position is kept.
        QVERIFY2(
            pressKeyUntil(window, QStringLiteral("alt+e"),
                          [&] { return quirlanto.state() == QProcess::NotRunning || quirlanto.waitForFinished(0); }),
            "the program did not end after \"&Ende\"");
        QCOMPARE(quirlanto.exitStatus(), QProcess::NormalExit);
        QCOMPARE(quirlanto.exitCode(), 0);
        QCOMPARE(QFile(prefix + QStringLiteral("/Telefonregister.bak")).exists(), true);
        QSettings stored(m_root.filePath(QStringLiteral("config/MOLTARA Software/Quirlanto.conf")),
                         QSettings::IniFormat);
        QVERIFY(stored.contains(QStringLiteral("_Top")));
        QVERIFY(stored.contains(QStringLiteral("_Left")));
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
