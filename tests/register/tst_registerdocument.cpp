// The register document without any window: loading, changes and what they write.
#include "register/registerdocument.h"
#include "testsupportcore.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include <sys/stat.h>

using namespace quirlanto;
using namespace quirlanto::test;

class TestRegisterDocument : public QObject {
    Q_OBJECT

private:
    enum Edit { Delete, Change, ClearNumber, Add, Import };
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<RegisterDocument> m_book;

    QString path(const char *name) const { return m_dir->filePath(QString::fromLatin1(name)); }
    RegisterDocument &load(const QByteArray &registerBytes)
    {
        writeFile(path("Telefonregister.ini"), registerBytes);
        [&] { QCOMPARE(m_book->loadRegister().kind, LoadRegisterOutcome::Kind::Loaded); }();
        return *m_book;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_book = std::make_unique<RegisterDocument>(DataPaths::inDirectory(m_dir->path() + QLatin1Char('/')));
    }

    void missingFileIsCreated()
    {
        QSignalSpy reset(m_book.get(), &RegisterDocument::registerReset);
        const LoadRegisterOutcome outcome = m_book->loadRegister();
        QCOMPARE(outcome.kind, LoadRegisterOutcome::Kind::CreatedNew);
        QVERIFY(outcome.writeResult.ok);
        QCOMPARE(reset.size(), 1);
        QCOMPARE(readFile(path("Telefonregister.ini")), kNewRegisterFile);
        QCOMPARE(entriesOf(m_dir->path()), QStringList{"Telefonregister.ini"});
        QCOMPARE(m_book->contents(), RegisterContents{});
        QCOMPARE(m_book->loadProviders().ok, true); // no provider file: an empty list, no message
        QCOMPARE(m_book->providers().rowCount(), 0);
    }

    // The contents stay, and nothing is written or replaced: a named pipe stays one (and must
    // not block the start).
    void unusableFilesChangeNothing_data()
    {
        QTest::addColumn<bool>("pipe");
        QTest::newRow("other header") << false;
        QTest::newRow("named pipe") << true;
    }

    void unusableFilesChangeNothing()
    {
        QFETCH(bool, pipe);
        load(registerFile("1,\"A\",\"1\",1\r\n"));
        const QByteArray file = QFile::encodeName(path("Telefonregister.ini"));
        if (pipe)
            QVERIFY(::unlink(file.constData()) == 0 && ::mkfifo(file.constData(), 0600) == 0);
        else
            writeFile(path("Telefonregister.ini"), "[quirlanto version 4]\r\n");
        QSignalSpy reset(m_book.get(), &RegisterDocument::registerReset);
        const LoadRegisterOutcome outcome = m_book->loadRegister();
        QCOMPARE(outcome.kind, pipe ? LoadRegisterOutcome::Kind::Unreadable : LoadRegisterOutcome::Kind::Incompatible);
        QCOMPARE(outcome.problem, pipe ? QStringLiteral("Es ist keine gewöhnliche Datei") : QString());
        QCOMPARE(reset.size(), 0);
        QCOMPARE(m_book->entries(0), (QList<PhoneEntry>{{"A", "1", true}}));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"Telefonregister.ini"});
        struct stat info {};
        QVERIFY(::lstat(file.constData(), &info) == 0 && S_ISFIFO(info.st_mode) == pipe);
    }

    void damagedFileIsReadAndKept()
    {
        const QByteArray bytes = registerFile("7,\"Weg\",\"1\",0\r\n2,\"Da\",\"4989\",1\r\n");
        writeFile(path("Telefonregister.ini"), bytes);
        const auto privateData = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
        QVERIFY(QFile::setPermissions(path("Telefonregister.ini"), privateData));
        const LoadRegisterOutcome outcome = m_book->loadRegister();
        QCOMPARE(outcome.kind, LoadRegisterOutcome::Kind::LoadedDamaged);
        QVERIFY2(outcome.problem.startsWith(QStringLiteral("Zeile 4: Die Kartennummer 7")),
                 qPrintable(outcome.problem));
        QCOMPARE(readFile(outcome.preservedCopy), bytes);
        QCOMPARE(QFile::permissions(outcome.preservedCopy), privateData);
        QCOMPARE(m_book->entries(1), (QList<PhoneEntry>{{"Da", "4989", true}}));
        QCOMPARE(readFile(path("Telefonregister.ini")), bytes); // not written before a change
    }

    void entriesChangeAndAreWritten()
    {
        // Sorted at load; the file follows at the next change.
        RegisterDocument &book = load(registerFile("1,\"B\",\"2\",0\r\n1,\"D\",\"4\",0\r\n1,\"A\",\"1\",1\r\n"));
        QSignalSpy inserted(&book, &RegisterDocument::entryInserted);
        QSignalSpy removed(&book, &RegisterDocument::entryRemoved);

        // A changed entry goes, trimmed, to its place by name.
        const RegisterDocument::EntryChange change = book.storeEntry(0, 0, {"  C ", " 11 ", false});
        QVERIFY(change.write.ok);
        QCOMPARE(change.row, 1);
        QCOMPARE(book.entries(0), (QList<PhoneEntry>{{"B", "2", false}, {"C", "11", false}, {"D", "4", false}}));
        QCOMPARE(removed.size(), 1);
        QCOMPARE(inserted.first(), (QList<QVariant>{0, 1}));
        QCOMPARE(readFile(path("Telefonregister.ini")),
                 registerFile("1,\"B\",\"2\",0\r\n1,\"C\",\"11\",0\r\n1,\"D\",\"4\",0\r\n"));

        // An edit that leaves a name or number empty only removes; the file is written all the same.
        QCOMPARE(book.storeEntry(0, 1, {"C", " ", true}).row, -1);
        QCOMPARE(book.storeEntry(2, std::nullopt, {"\t", "5", true}).row, -1);
        QCOMPARE(readFile(path("Telefonregister.ini")), registerFile("1,\"B\",\"2\",0\r\n1,\"D\",\"4\",0\r\n"));

        QVERIFY(book.removeEntry(0, 0).ok && book.removeEntry(0, 0).ok);
        QVERIFY(book.entries(0).isEmpty());
        QVERIFY(book.removeEntry(0, 0).ok); // nothing left there: nothing happens
        QCOMPARE(removed.size(), 4);
        QCOMPARE(readFile(path("Telefonregister.ini")), registerFile(QByteArray()));
    }

    // Each change is taken back, the last first, and the file is written as before it.
    void undoTakesBackChanges_data()
    {
        QTest::addColumn<QList<int>>("changes");
        QTest::addColumn<int>("card"); // of the last undo
        QTest::addColumn<int>("row");
        QTest::newRow("delete") << QList<int>{Delete} << 0 << 1;
        QTest::newRow("change") << QList<int>{Change} << 0 << 0;
        QTest::newRow("number cleared") << QList<int>{ClearNumber} << 0 << 2;
        QTest::newRow("add") << QList<int>{Add} << 1 << -1;
        QTest::newRow("import on two cards") << QList<int>{Import} << 0 << -1;
        QTest::newRow("several steps") << QList<int>{Delete, Import, Change, Add} << 0 << 1;
    }
    void undoTakesBackChanges()
    {
        QFETCH(QList<int>, changes);
        QFETCH(int, card);
        QFETCH(int, row);
        const QByteArray before =
            registerFile("1,\"A\",\"1\",1\r\n1,\"B\",\"2\",0\r\n1,\"C\",\"3\",0\r\n2,\"X\",\"9\",0\r\n");
        RegisterDocument &book = load(before);
        QSignalSpy available(&book, &RegisterDocument::undoAvailableChanged);
        // clang-format off
        const std::function<void()> edits[] = {
            [&] { book.removeEntry(0, 1); },
            [&] { book.storeEntry(0, 0, {"Z", "7", false}); },
            [&] { book.storeEntry(0, 2, {"C", "", false}); },
            [&] { book.storeEntry(1, std::nullopt, {"Y", "8", true}); },
            [&] { book.importEntries({{0, {"Ärger", "5", true}}, {1, {"W", "6", false}}}); }};
        // clang-format on
        for (const int change : changes)
            edits[change]();
        RegisterDocument::Undone undone;
        for (qsizetype i = 0; i < changes.size(); ++i)
            undone = book.undo();
        QVERIFY(undone.done && undone.write.ok);
        QCOMPARE(undone.card, card);
        QCOMPARE(undone.row, row);
        QCOMPARE(readFile(path("Telefonregister.ini")), before);
        QVERIFY(!book.undo().done);
        QCOMPARE(available.size(), 2); // on, then off
    }

    // Two people may share a number (a card exported with both comes back whole); the same
    // contact twice in a file does not. Entries for several cards are one write.
    void importSkipsKnownNumbersAndWritesOnce()
    {
        RegisterDocument &book = load(registerFile("2,\"A\",\"1\",1\r\n"));
        const QString file = path("Telefonregister.ini");
        QSignalSpy reset(&book, &RegisterDocument::cardReset);
        const RegisterDocument::ImportResult result = book.importEntries({{1, {"B", "1", true}},
                                                                          {1, {"C", "3", false}},
                                                                          {1, {"C2", "3", true}},
                                                                          {1, {"C", "3", false}},
                                                                          {1, {"D", " ", true}},
                                                                          {3, {"B", "1", true}},
                                                                          {3, {"C", "3", false}}});
        QVERIFY(result.write.ok);
        QCOMPARE(result.imported, 4);
        QCOMPARE(result.importedOn, (std::array<int, kCardCount>{0, 2, 0, 2}));
        QCOMPARE(result.skipped, 3);
        const QByteArray written = registerFile("2,\"A\",\"1\",1\r\n2,\"C\",\"3\",0\r\n2,\"C2\",\"3\",1\r\n"
                                                "4,\"B\",\"1\",1\r\n4,\"C\",\"3\",0\r\n");
        QCOMPARE(readFile(file), written);
        QCOMPARE(reset.size(), 2); // cards 1 and 3, each once

        // More than a card holds: nothing changes, on no card.
        QList<RegisterDocument::CardEntry> many{{0, {"X", "9", true}}};
        for (int i = 0; i < RegisterDocument::kMaxCardEntries - 2; ++i)
            many.append({1, {QStringLiteral("N"), QString::number(100 + i), true}});
        QCOMPARE(book.importEntries(many).refusedCard, 1);
        QCOMPARE(book.entries(0).size(), 0);
        QCOMPARE(book.entries(1).size(), 3);
        QCOMPARE(readFile(file), written);
    }

    void optionsAreTakenOver()
    {
        RegisterDocument &book = load(registerFile(QByteArray()));
        QSignalSpy names(&book, &RegisterDocument::cardNamesChanged);
        Settings s = book.settings();
        s.comPort = 4;
        s.outsideLinePrefix = QStringLiteral("\"0\"");
        s.internationalPrefix = QStringLiteral("0\"0");
        s.extraModemCommands = QStringLiteral("\"");
        s.handoverNumber = QStringLiteral("1\"");
        s.entryFontSize = 99; // beyond the slider: the largest size
        s.dialDevice = DialDevice(7);
        QVERIFY(book.setOptions(s, {"W", "X", "Y \"Z\""}).ok);
        QCOMPARE(names.size(), 1);
        QCOMPARE(book.cardName(2), QStringLiteral("Y \"Z\""));
        QCOMPARE(book.cardName(3), QString());
        QCOMPARE(book.settings().entryFontSize, 24.0);
        QCOMPARE(book.settings().dialDevice, DialDevice::Modem);
        const QByteArray written = readFile(path("Telefonregister.ini"));
        QCOMPARE(lines(written).mid(1, 2),
                 (QList<QByteArray>{"0,4,0,0,\"'0'\",0,\"0'0\",\"49\",\"89\",24,\"'\",\"1'\",0",
                                    "\"W\",\"X\",\"Y 'Z'\",\"\""}));
        QCOMPARE(book.settings(), readRegisterFile(written).contents.settings); // memory holds what the file does

        QVERIFY(book.setDialDevice(DialDevice::Loudspeaker).ok);
        QCOMPARE(lines(readFile(path("Telefonregister.ini"))).value(1).left(2), QByteArray("1,"));
    }

    void failedWriteKeepsTheFile()
    {
        RegisterDocument &book = load(registerFile("1,\"A\",\"1\",1\r\n"));
        const QByteArray before = readFile(path("Telefonregister.ini"));
        // A folder where the backup must go makes the rotation fail.
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Telefonregister.bak")));
        const WriteResult result = book.removeEntry(0, 0);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QStringLiteral("Telefonregister")), qPrintable(result.error));
        QCOMPARE(readFile(path("Telefonregister.ini")), before);
    }

    void providersChangeAndAreWritten()
    {
        writeFile(path("Provider.ini"), "0\r\n\"Beta\",\"01013\",1,0,9,18,0,1,0\r\n");
        QSignalSpy reset(m_book.get(), &RegisterDocument::providersReset);
        QVERIFY(m_book->loadProviders().problem.isEmpty());
        QCOMPARE(reset.size(), 1);

        const ProviderEntry alpha = ProviderTable::makeEntry("Alpha", "01070", 1, 0, 7, 18, 0, 1, 0);
        const RegisterDocument::ProviderChange added = m_book->storeProvider(std::nullopt, alpha);
        QVERIFY(added.write.ok);
        QCOMPARE(added.row.value_or(-1), 0); // sorted by name
        QVERIFY(m_book->setProvidersEnabled(true).ok);
        QCOMPARE(readFile(path("Provider.ini")),
                 "1\r\n\"Alpha\",\"01070\",1,0,7,18,0,1,0\r\n\"Beta\",\"01013\",1,0,9,18,0,1,0\r\n");

        // Sorting is not written; removing is.
        m_book->sortProviders(ProviderTable::Column::Name, false);
        QCOMPARE(names(m_book->providers()), (QStringList{"Beta", "Alpha"}));
        QVERIFY(m_book->removeProvider(0).ok);
        QCOMPARE(readFile(path("Provider.ini")), "1\r\n\"Alpha\",\"01070\",1,0,7,18,0,1,0\r\n");
    }

    void fullProviderTableRefusesARow()
    {
        ProviderTable full;
        for (int i = 0; i < ProviderTable::kMaxRows; ++i)
            full.appendUnsorted(ProviderTable::makeEntry("Voll", "010", 1, 1, 0, 24, 1, 1, 1));
        m_book->setProviders(full);
        QSignalSpy reset(m_book.get(), &RegisterDocument::providersReset);
        const RegisterDocument::ProviderChange change =
            m_book->storeProvider(std::nullopt, ProviderTable::makeEntry("Neu", "011", 1, 1, 0, 24, 1, 1, 1));
        QVERIFY(change.refused);
        QVERIFY(!change.row);
        QCOMPARE(reset.size(), 0);
        QCOMPARE(m_book->providers().rowCount(), ProviderTable::kMaxRows);
    }
};

QTEST_GUILESS_MAIN(TestRegisterDocument)
#include "tst_registerdocument.moc"
