#include "app/singleinstance.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <unistd.h>

using namespace quirlanto;

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void socketPathPerUser();
    void secondStartHandsOver_data();
    void secondStartHandsOver();
    void staleSocketAfterCrash();
    void hangingCopyIsNotJoined();
    void tooLongArgumentsAreNotHandedOver();
    void simultaneousStartsGiveOneCopy();
    void runningCopyWithstandsBadRequests();
    void endingLeavesALaterCopysSocket();
    void waitsWithoutLimitWhenAsked();
    void foreignLockFileFails();
    void unusableNameFails();

private:
    std::unique_ptr<QProcess> startHelper(const QStringList &arguments, const QString &timeoutMs = {});
    QString readLine(QProcess &process, int timeoutMs = 5000);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_server;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

void TestSingleInstance::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_server = m_dir->filePath(QStringLiteral("quirlanto.socket"));
}

void TestSingleInstance::cleanup()
{
    for (auto &process : m_processes) {
        process->kill();
        process->waitForFinished(3000);
    }
    m_processes.clear();
    m_dir.reset();
}

std::unique_ptr<QProcess> TestSingleInstance::startHelper(const QStringList &arguments, const QString &timeoutMs)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HELPER_SERVER"), m_server);
    if (!timeoutMs.isEmpty())
        env.insert(QStringLiteral("HELPER_TIMEOUT_MS"), timeoutMs);
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral(SINGLE_INSTANCE_HELPER), arguments);
    return process;
}

QString TestSingleInstance::readLine(QProcess &process, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!process.canReadLine() && timer.elapsed() < timeoutMs) {
        if (!process.waitForReadyRead(100) && process.state() == QProcess::NotRunning && !process.canReadLine())
            break;
    }
    return QString::fromUtf8(process.readLine()).trimmed();
}

void TestSingleInstance::socketPathPerUser()
{
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", m_dir->path().toUtf8());
    QCOMPARE(SingleInstance::socketPath(), m_dir->path() + QStringLiteral("/quirlanto.socket"));
    qputenv("XDG_RUNTIME_DIR", "/nonexistent/runtime");
    QVERIFY(SingleInstance::socketPath().endsWith(QStringLiteral("/quirlanto-%1.socket").arg(getuid())));
    qputenv("XDG_RUNTIME_DIR", saved);
}

void TestSingleInstance::secondStartHandsOver_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no argument") << QStringList();
    QTest::newRow("umlauts and blanks") << QStringList{QStringLiteral("Wähle 089 1234"), QStringLiteral("x")};
}

void TestSingleInstance::secondStartHandsOver()
{
    QFETCH(QStringList, arguments);
    auto &first = m_processes.emplace_back(startHelper({}));
    QCOMPARE(readLine(*first), QStringLiteral("primary"));

    auto second = startHelper(arguments);
    QVERIFY(second->waitForFinished(5000));
    QCOMPARE(QString::fromUtf8(second->readAllStandardOutput()).trimmed(), QStringLiteral("handed-over"));
    QCOMPARE(second->exitCode(), 0);

    QCOMPARE(readLine(*first), QStringLiteral("received:") + arguments.join(u'|'));
    QCOMPARE(first->state(), QProcess::Running);
}

void TestSingleInstance::staleSocketAfterCrash()
{
    auto crashed = startHelper({});
    QCOMPARE(readLine(*crashed), QStringLiteral("primary"));
    crashed->kill(); // no chance to remove its socket
    QVERIFY(crashed->waitForFinished(3000));
    QVERIFY(QFile::exists(m_server));

    auto &next = m_processes.emplace_back(startHelper({}));
    QCOMPARE(readLine(*next), QStringLiteral("primary"));

    auto third = startHelper({QStringLiteral("tel:+1")});
    QVERIFY(third->waitForFinished(5000));
    QCOMPARE(QString::fromUtf8(third->readAllStandardOutput()).trimmed(), QStringLiteral("handed-over"));
    QCOMPARE(readLine(*next), QStringLiteral("received:tel:+1"));
}

void TestSingleInstance::hangingCopyIsNotJoined()
{
    // Accepts connections but never answers, like a copy that hangs.
    QLocalServer silent;
    QVERIFY(silent.listen(m_server));
    auto second = startHelper({QStringLiteral("tel:+1")}, QStringLiteral("500"));
    QVERIFY(second->waitForFinished(5000));
    QCOMPARE(QString::fromUtf8(second->readAllStandardOutput()).trimmed(), QStringLiteral("no-answer"));
    QVERIFY(QFile::exists(m_server)); // the running copy's socket is left alone
}

void TestSingleInstance::tooLongArgumentsAreNotHandedOver()
{
    auto &first = m_processes.emplace_back(startHelper({}));
    QCOMPARE(readLine(*first), QStringLiteral("primary"));
    // More than the running copy takes: said so at once, not mistaken for a hanging copy.
    auto second = startHelper({QStringLiteral("tel:+") + QString(40000, u'1')});
    QVERIFY(second->waitForFinished(5000));
    QCOMPARE(QString::fromUtf8(second->readAllStandardOutput()).trimmed(), QStringLiteral("too-long"));

    auto third = startHelper({QStringLiteral("tel:+1")});
    QVERIFY(third->waitForFinished(5000));
    QCOMPARE(QString::fromUtf8(third->readAllStandardOutput()).trimmed(), QStringLiteral("handed-over"));
    QCOMPARE(readLine(*first), QStringLiteral("received:tel:+1"));
}

void TestSingleInstance::simultaneousStartsGiveOneCopy()
{
    for (int i = 0; i < 4; ++i)
        m_processes.push_back(startHelper({QString::number(i)}));
    int primaries = 0;
    int handedOver = 0;
    for (auto &process : m_processes) {
        const QString line = readLine(*process);
        primaries += line == QLatin1String("primary");
        handedOver += line == QLatin1String("handed-over");
    }
    QCOMPARE(primaries, 1);
    QCOMPARE(handedOver, 3);
}

void TestSingleInstance::runningCopyWithstandsBadRequests()
{
    auto running = std::make_unique<SingleInstance>(m_server);
    QCOMPARE(running->start({}), SingleInstance::Start::Primary);
    // Other users must not be able to hand anything over.
    QCOMPARE(QFileInfo(m_server).permissions() & ~(QFile::ReadUser | QFile::WriteUser),
             QFile::ReadOwner | QFile::WriteOwner);
    QSignalSpy received(running.get(), &SingleInstance::argumentsReceived);

    // A header announcing more than a request may hold: the connection is dropped.
    QLocalSocket oversized;
    oversized.connectToServer(m_server);
    QVERIFY(oversized.waitForConnected(1000));
    oversized.write(QByteArray("\x7f\xff\xff\xff", 4) + QByteArray(100, 'x'));
    QTRY_COMPARE(oversized.state(), QLocalSocket::UnconnectedState);

    // A request cut short by its sender, and one that is not a list of texts.
    QLocalSocket truncated;
    truncated.connectToServer(m_server);
    QVERIFY(truncated.waitForConnected(1000));
    truncated.write(QByteArray("\0\0\0\x20"
                               "abc",
                               7));
    truncated.flush();
    truncated.disconnectFromServer();
    QLocalSocket garbage;
    garbage.connectToServer(m_server);
    QVERIFY(garbage.waitForConnected(1000));
    garbage.write(QByteArray("\0\0\0\x04\xff\xff\xff\xff", 8));
    QTRY_COMPARE(garbage.state(), QLocalSocket::UnconnectedState);

    // A well-formed request sent in pieces is still taken, and answered.
    QLocalSocket pieces;
    pieces.connectToServer(m_server);
    QVERIFY(pieces.waitForConnected(1000));
    QByteArray payload;
    {
        QDataStream out(&payload, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << QStringList{QStringLiteral("tel:+1"), QStringLiteral("ä")};
    }
    QByteArray message;
    QDataStream(&message, QIODevice::WriteOnly) << quint32(payload.size());
    message += payload;
    pieces.write(message.left(3));
    pieces.flush();
    QTest::qWait(50);
    pieces.write(message.mid(3));
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(received[0][0].toStringList(), (QStringList{QStringLiteral("tel:+1"), QStringLiteral("ä")}));
    QTRY_VERIFY(pieces.bytesAvailable() > 0 || pieces.waitForReadyRead(100));
    QCOMPARE(pieces.read(1), QByteArray("A"));

    // Ending removes the socket, so the next start does not mistake it for a crashed copy's.
    running.reset();
    QVERIFY(!QFile::exists(m_server));
}

void TestSingleInstance::endingLeavesALaterCopysSocket()
{
    // A copy ending while the next one already made its own socket at the name.
    auto ending = std::make_unique<SingleInstance>(m_server);
    QCOMPARE(ending->start({}), SingleInstance::Start::Primary);
    QVERIFY(QFile::remove(m_server));
    SingleInstance next(m_server);
    QCOMPARE(next.start({}), SingleInstance::Start::Primary);
    ending.reset();
    QVERIFY(QFile::exists(m_server));

    QSignalSpy received(&next, &SingleInstance::argumentsReceived);
    auto later = startHelper({QStringLiteral("tel:+2")});
    QTRY_COMPARE(received.size(), 1);
    QTRY_COMPARE(later->state(), QProcess::NotRunning);
    QCOMPARE(QString::fromUtf8(later->readAllStandardOutput()).trimmed(), QStringLiteral("handed-over"));
}

void TestSingleInstance::waitsWithoutLimitWhenAsked()
{
    auto &first = m_processes.emplace_back(startHelper({}));
    QCOMPARE(readLine(*first), QStringLiteral("primary"));
    auto second = startHelper({QStringLiteral("x")}, QStringLiteral("-1"));
    QVERIFY(second->waitForFinished(5000));
    QCOMPARE(QString::fromUtf8(second->readAllStandardOutput()).trimmed(), QStringLiteral("handed-over"));
}

void TestSingleInstance::foreignLockFileFails()
{
    // In a shared temporary folder another user could plant the lock file and hold it.
    const QString lockPath = m_server + QStringLiteral(".lock");
    QFile planted(lockPath);
    QVERIFY(planted.open(QIODevice::WriteOnly));
    planted.close();
    if (::chown(QFile::encodeName(lockPath).constData(), 65534, 65534) != 0)
        QSKIP("cannot give a file to another user here (needs root)");
    SingleInstance instance(m_server);
    QCOMPARE(instance.start({}, 3000), SingleInstance::Start::Failed);
    QVERIFY2(instance.errorString().contains(QStringLiteral("gehört einem anderen Benutzer")),
             qPrintable(instance.errorString()));
    QVERIFY(!QFile::exists(m_server));
}

void TestSingleInstance::unusableNameFails()
{
    SingleInstance instance(m_dir->filePath(QString(120, QLatin1Char('s'))));
    QCOMPARE(instance.start({}, 500), SingleInstance::Start::Failed);
    QVERIFY2(instance.errorString().contains(QStringLiteral("zu lang")), qPrintable(instance.errorString()));
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
