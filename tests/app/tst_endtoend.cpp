// The real program under Xvfb: first start from an installed folder, "&Ende", the ends that come
// from outside, hostile files and a flood of connections to its socket.
#include "testsupportcore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using quirlanto::test::kNewRegisterFile;
using quirlanto::test::readFile;
using quirlanto::test::registerFile;
using quirlanto::test::stopProcess;
using quirlanto::test::writeFile;

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

    // A program folder of its own (the program beside its files) with a settings and a runtime
    // folder of its own; returns the program.
    QString programIn(const QString &name, QProcessEnvironment *env)
    {
        const QString folder = m_root.filePath(name);
        for (const char *dir : {"", "/config", "/run"})
            QDir().mkpath(folder + QLatin1String(dir));
        QFile::setPermissions(folder + QStringLiteral("/run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString program = folder + QStringLiteral("/quirlanto");
        QFile::copy(QStringLiteral(QUIRLANTO_PROGRAM_DIR "/quirlanto"), program);
        *env = m_env;
        env->insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
        env->insert(QStringLiteral("XDG_RUNTIME_DIR"), folder + QStringLiteral("/run"));
        return program;
    }
    static bool placementStored(const QString &folder)
    {
        const QSettings stored(folder + QStringLiteral("/config/MOLTARA Software/Quirlanto.conf"),
                               QSettings::IniFormat);
        return stored.contains(QStringLiteral("_Top")) && stored.contains(QStringLiteral("_Left"));
    }
    // Presses Return on the message box "Quirlanto" that must come up.
    bool answerMessage()
    {
        const QString message = waitForWindow(QStringLiteral("^Quirlanto$"));
        return !message.isEmpty() && pressKeyUntil(message, QStringLiteral("Return"), [&] {
            return xdotool({"search", "--onlyvisible", "--name", "^Quirlanto$"}).isEmpty();
        });
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
        // Else libdbus launches a bus of its own here, slowly on a loaded machine (as the scripts).
        m_env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent"));
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
        quirlanto.setProcessChannelMode(QProcess::MergedChannels);
        quirlanto.start(program, {});
        QVERIFY(quirlanto.waitForStarted());
        auto stop = qScopeGuard([&] { stopProcess(quirlanto, 5000); });

        // The new-file message comes first and is modal.
        const QString message = waitForWindow(QStringLiteral("^Quirlanto$"));
        QVERIFY2(!message.isEmpty(), qPrintable(QStringLiteral("the new-file message did not appear; the program said: ")
                                                 + QString::fromLocal8Bit(quirlanto.readAll())));
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
        QVERIFY(placementStored(m_root.path()));
    }

    // Logout, `systemctl --user stop` and Ctrl+C end the program as "&Ende" does: the open
    // options card is written once more and the window position is kept.
    void signalsEndLikeEnde_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
    void signalsEndLikeEnde()
    {
        QFETCH(int, signal);
        QProcessEnvironment env;
        const QString program = programIn(QStringLiteral("signal%1").arg(signal), &env);
        const QString folder = QFileInfo(program).absolutePath();
        QProcess quirlanto;
        quirlanto.setProcessEnvironment(env);
        quirlanto.start(program, {});
        QVERIFY(quirlanto.waitForStarted());
        auto stop = qScopeGuard([&] { stopProcess(quirlanto, 5000); });
        QVERIFY2(answerMessage(), "the new-file message did not come and go");
        QVERIFY(!waitForWindow(QStringLiteral("^Quirlanto 4\\.1$")).isEmpty()); // on the options card
        QVERIFY(!QFile::exists(folder + QStringLiteral("/Telefonregister.bak")));

        QCOMPARE(::kill(pid_t(quirlanto.processId()), signal), 0);
        QVERIFY(quirlanto.waitForFinished(15000));
        QCOMPARE(quirlanto.exitStatus(), QProcess::NormalExit);
        QCOMPARE(quirlanto.exitCode(), 0);
        QVERIFY(QFile::exists(folder + QStringLiteral("/Telefonregister.bak")));
        QVERIFY(placementStored(folder));
    }

    // A named pipe blocked the start for ever, a 10 MB name froze it: now the first says why
    // the program ends, the second is reported as damage and kept aside.
    void hostileRegisterFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("named pipe") << "fifo";
        QTest::newRow("10 MB name") << "name";
    }
    void hostileRegisterFiles()
    {
        QFETCH(QString, kind);
        QProcessEnvironment env;
        const QString program = programIn(QStringLiteral("hostile-") + kind, &env);
        const QString registerPath = QFileInfo(program).absolutePath() + QStringLiteral("/Telefonregister.ini");
        const QByteArray hostile =
            registerFile("1,\"" + QByteArray(10 * 1024 * 1024, 'N') + "\",\"1\",0\r\n1,\"Da\",\"4989\",0\r\n");
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(registerPath).constData(), 0600), 0);
        else
            writeFile(registerPath, hostile);

        QProcess quirlanto;
        quirlanto.setProcessEnvironment(env);
        quirlanto.start(program, {});
        QVERIFY(quirlanto.waitForStarted());
        auto stop = qScopeGuard([&] { stopProcess(quirlanto, 5000); });
        QVERIFY2(answerMessage(), "no message came");
        if (kind == "fifo") {
            QVERIFY(quirlanto.waitForFinished(10000));
            QCOMPARE(quirlanto.exitCode(), 1);
            struct stat info {};
            QVERIFY(::lstat(QFile::encodeName(registerPath).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
            return;
        }
        const QString window = waitForWindow(QStringLiteral("^Quirlanto 4\\.1$"));
        QVERIFY(!window.isEmpty());
        QVERIFY2(
            pressKeyUntil(window, QStringLiteral("alt+e"),
                          [&] { return quirlanto.state() == QProcess::NotRunning || quirlanto.waitForFinished(0); }),
            "the program did not end after \"&Ende\"");
        QCOMPARE(quirlanto.exitCode(), 0);
        const QStringList copies = QDir(QFileInfo(program).absolutePath()).entryList({"Telefonregister.ini.defekt-*"});
        QCOMPARE(copies.size(), 1);
        QVERIFY(readFile(QFileInfo(program).absolutePath() + QLatin1Char('/') + copies.first()) == hostile);
    }

    // Idle connections from the same user beyond the program's descriptors (all within the
    // 10 s idle limit): a later start is still taken, and the window can still write its files.
    void socketFloodLeavesDescriptors()
    {
        QProcessEnvironment env;
        const QString program = programIn(QStringLiteral("flood"), &env);
        const QString folder = QFileInfo(program).absolutePath();
        writeFile(folder + QStringLiteral("/Telefonregister.ini"), kNewRegisterFile);
        QProcess quirlanto;
        quirlanto.setProcessEnvironment(env);
        quirlanto.setChildProcessModifier([] {
            const rlimit few{128, 128};
            ::setrlimit(RLIMIT_NOFILE, &few);
        });
        quirlanto.start(program, {});
        QVERIFY(quirlanto.waitForStarted());
        auto stop = qScopeGuard([&] { stopProcess(quirlanto, 5000); });
        QVERIFY(!waitForWindow(QStringLiteral("^Quirlanto 4\\.1$")).isEmpty());

        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray socketPath = QFile::encodeName(folder + QStringLiteral("/run/quirlanto.socket"));
        qstrncpy(address.sun_path, socketPath.constData(), sizeof address.sun_path);
        QList<int> flood;
        auto closeFlood = qScopeGuard([&] {
            for (const int fd : flood)
                ::close(fd);
        });
        // The program keeps taking connections (dropping the oldest) instead of running out of
        // descriptors; a full backlog only means it has not come round to them yet.
        QElapsedTimer sinceLast;
        sinceLast.start();
        while (flood.size() < 200 && sinceLast.elapsed() < 3000) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
            QVERIFY(fd >= 0);
            if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
                flood << fd;
                sinceLast.restart();
                continue;
            }
            ::close(fd);
            QTest::qWait(5);
        }
        QCOMPARE(flood.size(), 200);

        QProcess later;
        later.setProcessEnvironment(env);
        later.start(program, {QStringLiteral("/AUTOSTART")});
        QVERIFY2(later.waitForFinished(15000), "the later start was not taken");
        QCOMPARE(later.exitCode(), 0);

        ::kill(pid_t(quirlanto.processId()), SIGTERM);
        QVERIFY(quirlanto.waitForFinished(15000));
        QCOMPARE(quirlanto.exitCode(), 0);
        QVERIFY(placementStored(folder));
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
