// The call monitor's lines, the caller's name from the register, and the call list file.
#include "calls/callevents.h"
#include "calls/callstore.h"
#include "numbers/internationalform.h"
#include "register/numberindex.h"
#include "register/registerdocument.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace quirlanto;

class TestCallsCore : public QObject {
    Q_OBJECT
private slots:
    void monitorLines_data();
    void monitorLines();
    void floodStaysBounded();
    void callerLookup_data();
    void callerLookup();
    void storeKeepsTheLatestInPrivate();
    void damagedStoreIsSetAside();
};

// Each line fed in turn; what the tracker reported, one word per update.
void TestCallsCore::monitorLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("updates");
    const QString ring = "24.12.24 18:30:05;RING;1;030123456;987654;SIP0;";
    const QString answered = "Answered 1 030123456";
    QTest::newRow("missed") << QStringList{ring, "24.12.24 18:30:25;DISCONNECT;1;0;"}
                            << QStringList{"Ringing 1 030123456 987654", "Ended 1 030123456 missed 0"};
    QTest::newRow("answered") << QStringList{ring, "24.12.24 18:30:09;CONNECT;1;10;030123456;",
                                             "24.12.24 18:31:09;DISCONNECT;1;60;"}
                              << QStringList{"Ringing 1 030123456 987654", answered, "Ended 1 030123456 answered 60"};
    QTest::newRow("withheld") << QStringList{"01.01.25 00:00:01;RING;2;;987654;POTS;"}
                              << QStringList{"Ringing 2  987654"};
    QTest::newRow("outgoing is not reported")
        << QStringList{"24.12.24 18:30:05;CALL;3;10;987654;0891234;SIP0;", "24.12.24 18:30:09;CONNECT;3;10;0891234;",
                       "24.12.24 18:31:09;DISCONNECT;3;60;"}
        << QStringList{};
    QTest::newRow("garbage and strays skipped") << QStringList{"",
                                                               "hello",
                                                               ";;;;",
                                                               "99.99.99 18:30:05;RING;1;030;9;SIP0;",
                                                               "24.12.24 18:30:05;RING;x;030;9;S;",
                                                               "24.12.24 18:30:05;RING;1;030;",
                                                               "24.12.24 18:30:05;HOLD;1;",
                                                               "24.12.24 18:30:09;CONNECT;7;10;0;",
                                                               "24.12.24 18:30:09;DISCONNECT;7;-5;",
                                                               ring + QString(2000, 'x')}
                                                << QStringList{"Ringing 1 030123456 987654"};
}

void TestCallsCore::monitorLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, updates);
    static const char *const kKinds[] = {"Ringing", "Answered", "Ended"};
    CallTracker tracker;
    QStringList got;
    for (const QString &line : lines) {
        const std::optional<MonitorEvent> event = parseMonitorLine(line.toUtf8());
        if (const std::optional<CallUpdate> u = event ? tracker.take(*event) : std::nullopt) {
            QString word =
                QStringLiteral("%1 %2 %3").arg(kKinds[int(u->kind)]).arg(u->call.connection).arg(u->call.caller);
            if (u->kind == CallUpdate::Kind::Ringing)
                word += u' ' + u->call.ownNumber;
            if (u->kind == CallUpdate::Kind::Ended)
                word += QStringLiteral(" %1 %2").arg(u->call.answered ? "answered" : "missed").arg(u->call.seconds);
            got.append(word);
        }
    }
    QCOMPARE(got, updates);
    if (!lines.isEmpty() && lines.first().startsWith("24.12.24"))
        QCOMPARE(parseMonitorLine(lines.first().toUtf8())->time.date(), QDate(2024, 12, 24));
}

void TestCallsCore::floodStaysBounded()
{
    CallTracker tracker;
    for (int id = 0; id < 100000; ++id)
        tracker.take(*parseMonitorLine(QStringLiteral("24.12.24 18:30:05;RING;%1;030;9;SIP0;").arg(id).toUtf8()));
    QCOMPARE(tracker.openConnections(), CallTracker::kMaxOpenConnections);
}

// Own country 49, area 30; the register holds 4930123456.
void TestCallsCore::callerLookup_data()
{
    QTest::addColumn<QString>("reported");
    QTest::addColumn<QString>("name");
    QTest::newRow("national") << "030123456"
                              << "Erika Müller";
    QTest::newRow("international") << "004930123456"
                                   << "Erika Müller";
    QTest::newRow("local") << "123456"
                           << "Erika Müller";
    QTest::newRow("other area") << "089123456" << QString();
    QTest::newRow("withheld") << QString() << QString();
}

void TestCallsCore::callerLookup()
{
    QFETCH(QString, reported);
    QFETCH(QString, name);
    QTemporaryDir dir;
    RegisterDocument book(DataPaths::inDirectory(dir.path() + '/'));
    book.loadRegister();
    Settings settings = book.settings();
    settings.ownAreaCode = "30";
    book.setOptions(settings, book.cardNames());
    NumberIndex index(book);
    QVERIFY(!index.find(internationalFromCaller("030123456", book.settings())));
    book.storeEntry(2, std::nullopt, {"Erika Müller", "4930123456", true});
    const std::optional<NumberIndex::Match> match = index.find(internationalFromCaller(reported, book.settings()));
    QCOMPARE(match ? match->name : QString(), name);
    book.removeEntry(2, 0);
    QVERIFY(!index.find("4930123456"));
}

void TestCallsCore::storeKeepsTheLatestInPrivate()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kCallListFileName);
    {
        CallStore store(path);
        const QDateTime t0(QDate(2025, 1, 1), QTime(8, 0));
        for (int i = 0; i <= CallStore::kKeptCalls; ++i)
            QVERIFY(store.add({0, t0.addSecs(i), CallRecord::Kind::Missed, QString::number(i), "Zoë", {}, 0}));
        const QList<CallRecord> latest = store.latest(CallStore::kKeptCalls + 5);
        QCOMPARE(latest.size(), CallStore::kKeptCalls);
        QCOMPARE(latest.first().number, QString::number(CallStore::kKeptCalls));
        QCOMPARE(latest.last().number, "1");
        QCOMPARE(latest.first().time, t0.addSecs(CallStore::kKeptCalls));
        QVERIFY(store.remove(latest.first().id));
        QCOMPARE(store.latest(1).first().number, QString::number(CallStore::kKeptCalls - 1));
    }
    // Read and write for the user, nothing for group and others.
    QCOMPARE(int(QFile::permissions(path) & 0x0fff), 0x600);
    CallStore reopened(path);
    QVERIFY(reopened.open());
    QCOMPARE(reopened.latest(1).first().name, "Zoë");
    QVERIFY(reopened.clear());
    QVERIFY(reopened.latest(1).isEmpty());
}

void TestCallsCore::damagedStoreIsSetAside()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kCallListFileName);
    QFile damaged(path);
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("SQLite format 3\0", 16) + QByteArray(4000, '\x5a'));
    damaged.close();
    CallStore store(path);
    QSignalSpy problems(&store, &CallStore::problem);
    QVERIFY(store.add({0, QDateTime::currentDateTime(), CallRecord::Kind::Dialed, "4930123456", {}, "Modem", 0}));
    QCOMPARE(problems.size(), 1);
    QVERIFY(problems.first().first().toString().contains("beschädigt"));
    const QStringList aside = QDir(dir.path()).entryList({"Anrufliste.db.defekt-*"});
    QCOMPARE(aside.size(), 1);
    QVERIFY(problems.first().first().toString().contains(aside.first()));
    QFile kept(dir.filePath(aside.first()));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll().right(10), QByteArray(10, '\x5a'));
    QCOMPARE(store.latest(5).size(), 1);
}

QTEST_GUILESS_MAIN(TestCallsCore)
#include "tst_callscore.moc"
