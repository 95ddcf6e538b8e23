#include "providers/providerfile.h"

#include "fileaccess.h"
#include "support/safefilewriter.h"
#include "testsupportcore.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/stat.h>

using namespace quirlanto;
using namespace quirlanto::test;

namespace {

QByteArray crlf(const char *lines)
{
    QByteArray b(lines);
    b.replace("\n", "\r\n");
    return b;
}

} // namespace

class TestProviderFile : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_ini;
    QString m_bak;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_ini = m_dir->filePath(QStringLiteral("Provider.ini"));
        m_bak = m_dir->filePath(QStringLiteral("Provider.bak"));
    }
    void cleanup() { m_dir.reset(); }

    void writtenBytes_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("name"); // no row when empty
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty, switched off") << false << "" << QByteArray("0\r\n");
        QTest::newRow("empty, switched on") << true << "" << QByteArray("1\r\n");
        QTest::newRow("stored example") << true << "Abendnetz"
                                        << QByteArray("1\r\n\"Abendnetz\",\"01013\",1,1,18,24,0,1,1\r\n");
        QTest::newRow("characters outside the code page")
            << false << QString::fromUtf8("Netz 漢 😀 €")
            << QByteArray("0\r\n\"Netz ? ? \x80\",\"01013\",1,1,18,24,0,1,1\r\n");
    }
    void writtenBytes()
    {
        QFETCH(bool, enabled);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        ProviderTable t;
        t.providersEnabled = enabled;
        if (!name.isEmpty())
            t.addProviderRow(name, "01013", 1, 1, 18, 24, 0, 1, 1);
        QCOMPARE(providerBytes(t), bytes);
    }

    // Each file line read and written back: how the program normalises what it finds.
    void readAndWriteBack_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QString>("dayText");
        QTest::addColumn<QString>("distance");
        QTest::newRow("weekdays") << QByteArray("\"A\",\"010\",1,0,9,18,0,1,0")
                                  << QByteArray("\"A\",\"010\",1,0,9,18,0,1,0") << "Mo-Fr"
                                  << "F";
        QTest::newRow("weekend") << QByteArray("\"A\",\"010\",0,1,0,24,1,1,1")
                                 << QByteArray("\"A\",\"010\",0,1,0,24,1,1,1") << "Sa-So"
                                 << "NFA";
        QTest::newRow("no day class stays 0,0")
            << QByteArray("\"A\",\"010\",0,0,9,18,1,0,0") << QByteArray("\"A\",\"010\",0,0,9,18,1,0,0") << ""
            << "N";
        QTest::newRow("code 4 is written as 0,0")
            << QByteArray("\"A\",\"010\",0,2,9,18,1,0,0") << QByteArray("\"A\",\"010\",0,0,9,18,1,0,0") << ""
            << "N";
        QTest::newRow("nonzero distance saved as 1")
            << QByteArray("\"A\",\"010\",1,1,9,18,-1,7,0") << QByteArray("\"A\",\"010\",1,1,9,18,1,1,0") << "Immer"
            << "NF";
        QTest::newRow("halves round to even") << QByteArray("\"A\",\"010\",1,0,8.5,17.5,0.5,1.5,2.5")
                                              << QByteArray("\"A\",\"010\",1,0,8,18,0,1,1") << "Mo-Fr"
                                              << "FA";
        QTest::newRow("comma in name") << QByteArray("\"Netz, billig\",\"010\",1,1,0,24,0,0,1")
                                       << QByteArray("\"Netz, billig\",\"010\",1,1,0,24,0,0,1") << "Immer"
                                       << "A";
        QTest::newRow("blanks trimmed, around fields too") << QByteArray("  \"  A b \" , \" 010 \",  1 , 1,0 ,24,0,0,1")
                                                           << QByteArray("\"A b\",\"010\",1,1,0,24,0,0,1") << "Immer"
                                                           << "A";
        QTest::newRow("unquoted texts") << QByteArray("Anbieter,01013,1,1,0,24,0,0,1")
                                        << QByteArray("\"Anbieter\",\"01013\",1,1,0,24,0,0,1") << "Immer"
                                        << "A";
        QTest::newRow("record over several lines") << QByteArray("\"A\",\"010\"\r\n1,1\r\n0,24\r\n0,0,1")
                                                   << QByteArray("\"A\",\"010\",1,1,0,24,0,0,1") << "Immer"
                                                   << "A";
        QTest::newRow("Windows-1252 text") << QByteArray("\"M\xfcller \x80 \x96\",\"0\",1,1,0,24,0,0,1")
                                           << QByteArray("\"M\xfcller \x80 \x96\",\"0\",1,1,0,24,0,0,1") << "Immer"
                                           << "A";
        QTest::newRow("text after closing quote dropped")
            << QByteArray("\"A\"xyz,\"010\",1,1,0,24,0,0,1") << QByteArray("\"A\",\"010\",1,1,0,24,0,0,1") << "Immer"
            << "A";
    }
    void readAndWriteBack()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, written);
        QFETCH(QString, dayText);
        QFETCH(QString, distance);
        ProviderTable t;
        const LoadProviderResult r = readProviders("1\r\n" + line + "\r\n", t);
        QVERIFY(r.ok);
        QCOMPARE(r.problem, QString());
        QCOMPARE(t.rowCount(), 1);
        QCOMPARE(dayClassText(t.at(0).dayClass), dayText);
        QCOMPARE(distanceText(t.at(0)), distance);
        QCOMPARE(providerBytes(t), "1\r\n" + written + "\r\n");
    }

    void switchLine_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<bool>("on");
        QTest::newRow("one") << QByteArray("1") << true;
        QTest::newRow("zero") << QByteArray("0") << false;
        QTest::newRow("half") << QByteArray("0.5") << true;
        QTest::newRow("minus one") << QByteArray("-1") << true;
        QTest::newRow("zero with point") << QByteArray(" 0.0 ") << false;
    }
    void switchLine()
    {
        QFETCH(QByteArray, first);
        QFETCH(bool, on);
        ProviderTable t;
        const LoadProviderResult r = readProviders(first + "\r\n\"A\",\"1\",1,1,0,24,1,1,1\r\n", t);
        QCOMPARE(r.problem, QString());
        QCOMPARE(t.providersEnabled, on);
        QCOMPARE(t.rowCount(), 1);
        QCOMPARE(providerBytes(t).left(3), QByteArray(on ? "1\r\n" : "0\r\n"));
    }

    void doubleQuotesBecomeApostrophes()
    {
        ProviderTable t;
        t.addProviderRow("Der \"gute\" Netz", "01\"0", 1, 0, 9, 18, 0, 1, 0);
        const QByteArray bytes = providerBytes(t);
        QCOMPARE(bytes, QByteArray("0\r\n\"Der 'gute' Netz\",\"01'0\",1,0,9,18,0,1,0\r\n"));
        ProviderTable back;
        QCOMPARE(readProviders(bytes, back).problem, QString());
        QCOMPARE(back.at(0).name, QStringLiteral("Der 'gute' Netz"));
        QCOMPARE(back.at(0).networkPrefix, QStringLiteral("01'0"));
        QCOMPARE(t.at(0).name, QStringLiteral("Der \"gute\" Netz")); // memory unchanged
    }

    void loadedRowsAreInSortOrder()
    {
        ProviderTable t;
        t.setSort(ProviderTable::Column::From, false);
        const QByteArray file = crlf("1\n\"c\",\"1\",1,1,9,18,1,1,1\n\"a\",\"2\",1,1,20,24,1,1,1\n"
                                     "\"b\",\"3\",1,1,9,12,1,1,1\n\"d\",\"4\",1,1,0,6,1,1,1\n");
        QCOMPARE(readProviders(file, t).problem, QString());
        QCOMPARE(names(t), (QStringList{"a", "c", "b", "d"}));
        t.setSort(ProviderTable::Column::Name, true);
        QCOMPARE(readProviders(file, t).problem, QString());
        QCOMPARE(names(t), (QStringList{"a", "b", "c", "d"}));
    }

    void lineEndsAndTrailingSpace_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("CR LF") << QByteArray("1\r\n\"a\",\"1\",1,1,0,24,1,1,1\r\n\"b\",\"2\",1,1,0,24,1,1,1\r\n");
        QTest::newRow("LF only") << QByteArray("1\n\"a\",\"1\",1,1,0,24,1,1,1\n\"b\",\"2\",1,1,0,24,1,1,1\n");
        QTest::newRow("no final line end")
            << QByteArray("1\r\n\"a\",\"1\",1,1,0,24,1,1,1\r\n\"b\",\"2\",1,1,0,24,1,1,1");
        QTest::newRow("blank lines at the end")
            << QByteArray("1\r\n\"a\",\"1\",1,1,0,24,1,1,1\r\n\"b\",\"2\",1,1,0,24,1,1,1\r\n\r\n  \r\n");
        QTest::newRow("blank line between")
            << QByteArray("1\r\n\"a\",\"1\",1,1,0,24,1,1,1\r\n\r\n\"b\",\"2\",1,1,0,24,1,1,1\r\n");
    }
    void lineEndsAndTrailingSpace()
    {
        QFETCH(QByteArray, file);
        ProviderTable t;
        const LoadProviderResult r = readProviders(file, t);
        QCOMPARE(r.problem, QString());
        QCOMPARE(names(t), (QStringList{"a", "b"}));
        QCOMPARE(providerBytes(t), QByteArray("1\r\n\"a\",\"1\",1,1,0,24,1,1,1\r\n\"b\",\"2\",1,1,0,24,1,1,1\r\n"));
    }

    void emptyFile()
    {
        ProviderTable t;
        t.providersEnabled = true;
        t.addProviderRow("x", "1", 1, 1, 0, 24, 1, 1, 1);
        const LoadProviderResult r = readProviders({}, t);
        QVERIFY(r.ok);
        QCOMPARE(r.problem, QString());
        QCOMPARE(t.rowCount(), 0);
        QVERIFY(!t.providersEnabled);
    }

    // What a damaged file keeps, and that the problem says where.
    void damagedFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("problemPart");
        QTest::newRow("ends mid-record") << crlf("1\n\"a\",\"1\",1,1,0,24,1,1,1\n\"b\",\"2\",1,1,0") << QStringList{"a"}
                                         << true << "mitten im Eintrag ab Zeile 3";
        QTest::newRow("ends inside the texts")
            << crlf("1\n\"a\",\"1\",1,1,0,24,1,1,1\n\"b\"") << QStringList{"a"} << true << "Zeile 3";
        QTest::newRow("letters in a number") << crlf("1\n\"a\",\"1\",1,1,0,24,1,1,1\n\"b\",\"2\",1,1,neun,24,1,1,1\n"
                                                     "\"c\",\"3\",1,1,0,24,1,1,1\n")
                                             << QStringList{"a", "c"} << true << "Zeile 3";
        QTest::newRow("number out of range") << crlf("1\n\"b\",\"2\",1,1,0,99999,1,1,1\n\"c\",\"3\",1,1,0,24,1,1,1\n")
                                             << QStringList{"c"} << true << "Zeile 2";
        QTest::newRow("a field missing") << crlf("0\n\"a\",\"1\",1,1,0,24,1,1\n\"b\",\"2\",1,1,0,24,1,1,1\n"
                                                 "\"c\",\"3\",1,1,0,24,1,1,1\n")
                                         << QStringList{"b", "c"} << false << "Zeile 2";
        QTest::newRow("several bad rows") << crlf("1\n\"a\",\"1\",x,1,0,24,1,1,1\n\"b\",\"2\",1,1,0,24,1,1,1\n"
                                                  "\"c\",\"3\",1,1,0,24,y,1,1\n")
                                          << QStringList{"b"} << true
                                          << "2 Einträge enthalten ungültige Angaben und "
                                             "wurden übersprungen (Zeilen 2, 4)";
        QTest::newRow("unclosed quote") << crlf("1\n\"a\",\"1\",1,1,0,24,1,1,1\n\"b,2,1,1,0,24,1,1,1\n"
                                                "c,3,1,1,0,24,1,1,1\n")
                                        << QStringList{"a", "c"} << true << "Zeile 3";
        QTest::newRow("switch line missing") << crlf("\"a\",\"1\",1,1,0,24,1,1,1\n\"b\",\"2\",1,1,0,24,1,1,1\n")
                                             << QStringList{"a", "b"} << false << "Schalter";
        QTest::newRow("switch line empty")
            << crlf("\n\"a\",\"1\",1,1,0,24,1,1,1\n") << QStringList{"a"} << false << "Schalter";
        QTest::newRow("switch line not a number")
            << crlf("ja\n\"a\",\"1\",1,1,0,24,1,1,1\n") << QStringList{"a"} << false << "(„ja“) ist keine gültige Zahl";
        QTest::newRow("hour beyond 24") << crlf("1\n\"a\",\"1\",1,1,0,67,1,1,1\n\"b\",\"2\",1,1,-1,24,1,1,1\n"
                                                "\"c\",\"3\",1,1,0,24,1,1,1\n")
                                        << QStringList{"c"} << true << "(Zeilen 2, 3)";
        QTest::newRow("name too long") << "1\r\n\"" + QByteArray(201, 'n') + "\",\"1\",1,1,0,24,1,1,1\r\n"
                                       << QStringList{} << true << "Zeile 2";
        QTest::newRow("prefix too long") << "1\r\n\"a\",\"" + QByteArray(65, '1') + "\",1,1,0,24,1,1,1\r\n"
                                         << QStringList{} << true << "Zeile 2";
        QTest::newRow("switch line with a rest")
            << crlf("1 x\n\"a\",\"1\",1,1,0,24,1,1,1\n") << QStringList{"a"} << true << "eingeschaltet";
    }
    void damagedFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, kept);
        QFETCH(bool, on);
        QFETCH(QString, problemPart);
        ProviderTable t;
        const LoadProviderResult r = readProviders(file, t);
        QVERIFY(r.ok);
        QCOMPARE(names(t), kept);
        QCOMPARE(t.providersEnabled, on);
        QVERIFY2(r.problem.contains(problemPart), qPrintable(r.problem));
    }

    void moreRowsThanTheTableHolds()
    {
        QByteArray file = "1\r\n";
        for (int i = 0; i < ProviderTable::kMaxRows + 2; ++i)
            file += "\"n" + QByteArray::number(i) + "\",\"0\",1,1,0,24,1,1,1\r\n";
        ProviderTable t;
        const LoadProviderResult r = readProviders(file, t);
        QCOMPARE(t.rowCount(), ProviderTable::kMaxRows);
        QVERIFY2(r.problem.contains(QStringLiteral("mehr als 32767")), qPrintable(r.problem));
        // The first rows of the file are the ones kept.
        QStringList all = names(t);
        QVERIFY(all.contains(QStringLiteral("n32766")));
        QVERIFY(!all.contains(QStringLiteral("n32767")));
        QVERIFY(!all.contains(QStringLiteral("n32768")));

        ProviderTable exact;
        file.chop(2 * QByteArray("\"n32767\",\"0\",1,1,0,24,1,1,1\r\n").size());
        QCOMPARE(readProviders(file, exact).problem, QString());
        QCOMPARE(exact.rowCount(), ProviderTable::kMaxRows);
    }

    void roundTripOfRandomTables()
    {
        QRandomGenerator rng(20261208);
        const QStringList words{"Netz", "Tele, fix", "Ärger", " blank ", "'quote'", "", "0"};
        for (int round = 0; round < 20; ++round) {
            ProviderTable t;
            t.providersEnabled = rng.bounded(2);
            t.setSort(ProviderTable::Column(rng.bounded(ProviderTable::kColumnCount)), rng.bounded(2));
            for (int i = 0; i < 40; ++i)
                t.addProviderRow(words.at(rng.bounded(int(words.size()))) + QString::number(i),
                                 words.at(rng.bounded(int(words.size()))), qint16(rng.bounded(2)),
                                 qint16(rng.bounded(2)), qint16(rng.bounded(25)), qint16(rng.bounded(25)),
                                 qint16(rng.bounded(2)), qint16(rng.bounded(2)), qint16(rng.bounded(2)));
            const QByteArray bytes = providerBytes(t);
            ProviderTable back;
            back.setSort(t.sortColumn(), t.sortAscending());
            QCOMPARE(readProviders(bytes, back).problem, QString());
            QVERIFY(back.rows() == t.rows());
            QCOMPARE(back.providersEnabled, t.providersEnabled);
            QCOMPARE(providerBytes(back), bytes);
        }
    }

    void loadMissingFile()
    {
        ProviderTable t;
        t.providersEnabled = true;
        t.addProviderRow("x", "1", 1, 1, 0, 24, 1, 1, 1);
        const LoadProviderResult r = loadProviderFile(m_ini, t);
        QVERIFY(r.ok);
        QCOMPARE(r.problem, QString());
        QCOMPARE(t.rowCount(), 0);
        QVERIFY(!t.providersEnabled);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 0);
    }

    void loadGoodFileKeepsNoCopy()
    {
        writeFile(m_ini, crlf("1\n\"a\",\"1\",1,1,0,24,1,1,1\n"));
        ProviderTable t;
        const LoadProviderResult r = loadProviderFile(m_ini, t);
        QVERIFY(r.ok);
        QCOMPARE(r.problem, QString());
        QCOMPARE(r.preservedCopy, QString());
        QCOMPARE(names(t), QStringList{"a"});
        QVERIFY(t.providersEnabled);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"Provider.ini"});
    }

    // The rows a damaged file loses on the next save survive in a copy no save replaces.
    void loadDamagedFileKeepsTheOriginal()
    {
        const QByteArray damaged = crlf("1\n\"a\",\"1\",1,1,0,24,1,1,1\n\"b\",\"2\",x,1,0,24,1,1,1\n");
        writeFile(m_ini, damaged);
        ProviderTable t;
        const LoadProviderResult first = loadProviderFile(m_ini, t);
        QVERIFY(first.ok);
        QCOMPARE(names(t), QStringList{"a"});
        QVERIFY(!first.preservedCopy.isEmpty());
        QVERIFY(QFileInfo(first.preservedCopy).fileName().startsWith(QStringLiteral("Provider.ini.defekt-")));
        QCOMPARE(readFile(first.preservedCopy), damaged);
        QCOMPARE(QFile::permissions(first.preservedCopy), QFile::permissions(m_ini));

        QVERIFY(saveProviderFile(t, m_ini, m_bak).ok);
        QVERIFY(saveProviderFile(t, m_ini, m_bak).ok);
        QCOMPARE(readFile(first.preservedCopy), damaged);

        // A second damaged load never overwrites the first copy.
        writeFile(m_ini, damaged + "junk");
        const LoadProviderResult second = loadProviderFile(m_ini, t);
        QVERIFY(!second.preservedCopy.isEmpty());
        QVERIFY(second.preservedCopy != first.preservedCopy);
        QCOMPARE(readFile(first.preservedCopy), damaged);
        QCOMPARE(readFile(second.preservedCopy), damaged + "junk");
    }

    // What stands at the name but cannot be read is the user's: the list starts empty, says why,
    // and no change of the list is saved over it.
    void unreadableFileIsNeverReplaced_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("no rights") << "private";
        QTest::newRow("named pipe") << "fifo";
        QTest::newRow("folder") << "folder";
    }
    void unreadableFileIsNeverReplaced()
    {
        QFETCH(QString, kind);
        const QByteArray rows = crlf("1\n\"a\",\"1\",1,1,0,24,1,1,1\n");
        if (kind == "private") {
            writeFile(m_ini, rows);
            QVERIFY(QFile::setPermissions(m_ini, {}));
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(m_ini).constData(), 0600), 0);
        } else {
            QVERIFY(QDir(m_dir->path()).mkdir("Provider.ini"));
        }
        const WithoutRootFileAccess asUser;
        ProviderTable t;
        t.addProviderRow("x", "1", 1, 1, 0, 24, 1, 1, 1);
        const LoadProviderResult r = loadProviderFile(m_ini, t);
        QVERIFY(!r.ok);
        QVERIFY(!r.problem.isEmpty());
        QCOMPARE(t.rowCount(), 0);

        t.providersEnabled = true;
        const WriteResult w = saveProviderFile(t, m_ini, m_bak);
        QVERIFY(!w.ok);
        QVERIFY2(w.error.startsWith(QStringLiteral("Die Provider-Liste wird nicht gespeichert")), qPrintable(w.error));
        QCOMPARE(QFile::exists(m_bak), false);
        if (kind == "private") {
            struct stat info {};
            QVERIFY(::stat(QFile::encodeName(m_ini).constData(), &info) == 0);
            QCOMPARE(info.st_mode & 07777, 0u);
            QVERIFY(QFile::setPermissions(m_ini, QFile::ReadOwner | QFile::WriteOwner));
            QCOMPARE(readFile(m_ini), rows);
        }
    }
};

QTEST_GUILESS_MAIN(TestProviderFile)
#include "tst_providerfile.moc"
