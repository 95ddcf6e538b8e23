#include "register/phoneentry.h"
#include "register/registerformat.h"
#include "support/safefilewriter.h"
#include "testsupportcore.h"

#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace quirlanto;
using namespace quirlanto::test;

Q_DECLARE_METATYPE(quirlanto::RegisterContents)

namespace {

const QByteArray kHeaderLine("[QUIRLANTO VERSION 4]\r\n");
const QByteArray kDefaultSettingsLine = kSettingsLine + "\r\n";
const QByteArray kDefaultCardsLine = kDefaultCardNames + "\r\n";

QByteArray withDefaults(const QByteArray &entries)
{
    return kNewRegisterFile + entries;
}

} // namespace

class TestRegisterFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void writtenBytes_data();
    void writtenBytes();
    void readThenWrite_data();
    void readThenWrite();
    void damagedFileKeepsWhatItCan_data();
    void damagedFileKeepsWhatItCan();
    void headerCheck_data();
    void headerCheck();

    void writesRotateBackup();
    void failedWriteKeepsFile();

private:
    QTemporaryDir *m_dir = nullptr;
    DataPaths m_paths;
};

void TestRegisterFile::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_paths = DataPaths::inDirectory(m_dir->path() + QLatin1Char('/'));
}

void TestRegisterFile::cleanup()
{
    setWriteFailureHook({});
    delete m_dir;
    m_dir = nullptr;
}

void TestRegisterFile::writtenBytes_data()
{
    QTest::addColumn<RegisterContents>("contents");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("new file") << RegisterContents{} << kNewRegisterFile;

    RegisterContents muster;
    muster.cards[1].entries << makePhoneEntry(QStringLiteral("Muster, Erika"), QStringLiteral("4930123456"), true);
    QTest::newRow("one entry on card 2") << muster << withDefaults("2,\"Muster, Erika\",\"4930123456\",1\r\n");

    RegisterContents settings;
    Settings &s = settings.settings;
    s.dialDevice = DialDevice::Loudspeaker;
    s.comPort = 16;
    s.dialMethod = DialMethod::Pulse;
    s.reservedValue = -5;
    s.outsideLinePrefix = QStringLiteral("0,");
    s.internationalPrefix = QStringLiteral("000");
    s.ownCountryCode = QStringLiteral("43");
    s.ownAreaCode = QStringLiteral("1");
    s.entryFontSize = 24;
    s.extraModemCommands = QStringLiteral(" X3 ");
    s.handoverNumber = QStringLiteral("**21*");
    s.handoverEnabled = true;
    QTest::newRow("every setting") << settings
                                   << kHeaderLine
                                          + "1,16,1,-5,\"0,\",-5,\"000\",\"43\",\"1\",24,\" X3 \",\"**21*\",1\r\n"
                                          + kDefaultCardsLine;

    const auto fontRow = [](const char *name, double size, const QByteArray &text) {
        RegisterContents c;
        c.settings.entryFontSize = size;
        QByteArray line = kDefaultSettingsLine;
        line.replace(",12,", "," + text + ",");
        QTest::newRow(name) << c << kHeaderLine + line + kDefaultCardsLine;
    };
    fontRow("size with fraction", 8.25, "8.25");
    fontRow("size trailing zero dropped", 8.5, "8.5");
    fontRow("whole size", 10.0, "10");

    RegisterContents quotes;
    quotes.cards[0].cardName = QStringLiteral("\"Chef\"");
    quotes.cards[2].entries << makePhoneEntry(QStringLiteral("Max \"Mäx\" M."), QStringLiteral("49\"89"), false);
    quotes.settings.handoverNumber = QStringLiteral("\"1");
    QTest::newRow("quotes become apostrophes")
        << quotes
        << kHeaderLine + QByteArray(kDefaultSettingsLine).replace(",\"\",0\r\n", ",\"'1\",0\r\n")
               + "\"'Chef'\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n" + "3,\"Max 'M\xE4x' M.\",\"49'89\",0\r\n";

    RegisterContents outside;
    outside.cards[3].entries << makePhoneEntry(QStringLiteral("Łukasz 😀 €"), QStringLiteral("48"), true);
    QTest::newRow("outside the code page") << outside << withDefaults("4,\"Lukasz ? \x80\",\"48\",1\r\n");

    RegisterContents order;
    order.cards[3].entries << makePhoneEntry(u"D", u"4", false);
    order.cards[0].entries << makePhoneEntry(u"B", u"2", false) << makePhoneEntry(u"A", u"1", true);
    order.cards[1].entries << makePhoneEntry(u"C", u"3", false);
    QTest::newRow("cards in order, lists in their order")
        << order << withDefaults("1,\"B\",\"2\",0\r\n1,\"A\",\"1\",1\r\n2,\"C\",\"3\",0\r\n4,\"D\",\"4\",0\r\n");

    RegisterContents blanks;
    blanks.cards[0].entries << PhoneEntry{QStringLiteral("  a  b  "), QStringLiteral(" 1 2 "), true};
    QTest::newRow("outer blanks of entries dropped") << blanks << withDefaults("1,\"a  b\",\"1 2\",1\r\n");
}

void TestRegisterFile::writtenBytes()
{
    QFETCH(RegisterContents, contents);
    QFETCH(QByteArray, bytes);
    QCOMPARE(registerBytes(contents), bytes);
}

// Read a file, write it again: what the user finds in the file after the next change.
void TestRegisterFile::readThenWrite_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("written");
    const QByteArray muster("2,\"Muster, Erika\",\"4930123456\",1\r\n");
    QTest::newRow("new file unchanged") << kNewRegisterFile << kNewRegisterFile;
    QTest::newRow("muster survives") << withDefaults(muster) << withDefaults(muster);
    QTest::newRow("no final line end") << withDefaults(muster.chopped(2)) << withDefaults(muster);
    QTest::newRow("trailing blank lines") << withDefaults(muster + "\r\n  \r\n") << withDefaults(muster);
    QTest::newRow("zero flag 3 reads 1") << withDefaults("1,\"A\",\"1\",3\r\n") << withDefaults("1,\"A\",\"1\",1\r\n");
    QTest::newRow("zero flag 2 reads 0") << withDefaults("1,\"A\",\"1\",2\r\n") << withDefaults("1,\"A\",\"1\",0\r\n");
    QTest::newRow("zero flag -1 reads 1")
        << withDefaults("1,\"A\",\"1\",-1\r\n") << withDefaults("1,\"A\",\"1\",1\r\n");
    QTest::newRow("size 8.25 stores 8") << kHeaderLine + "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",8.25,\"\",\"\",0\r\n"
                                               + kDefaultCardsLine
                                        << kHeaderLine + "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",8,\"\",\"\",0\r\n"
                                               + kDefaultCardsLine;
    QTest::newRow("size 12.5 rounds to even")
        << kHeaderLine + "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",12.5,\"\",\"\",0\r\n" + kDefaultCardsLine
        << kNewRegisterFile;
    QTest::newRow("positions 4 and 6, the later wins")
        << kHeaderLine + "0,1,0,7,\"\",-3,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n" + kDefaultCardsLine
        << kHeaderLine + "0,1,0,-3,\"\",-3,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n" + kDefaultCardsLine;
    QTest::newRow("card 0 ends reading") << withDefaults("1,\"A\",\"1\",0\r\n0,\"B\",\"2\",0\r\n\r\n  \r\n")
                                         << withDefaults("1,\"A\",\"1\",0\r\n");
    const QByteArray longest = "1,\"" + QByteArray(200, 'N') + "\",\"" + QByteArray(64, '9') + "\",0\r\n";
    QTest::newRow("longest name and number") << withDefaults(longest) << withDefaults(longest);
    QTest::newRow("any card order is grouped")
        << withDefaults("3,\"C\",\"3\",0\r\n1,\"A\",\"1\",0\r\n3,\"D\",\"4\",1\r\n2,\"B\",\"2\",0\r\n")
        << withDefaults("1,\"A\",\"1\",0\r\n2,\"B\",\"2\",0\r\n3,\"C\",\"3\",0\r\n3,\"D\",\"4\",1\r\n");
    QTest::newRow("outer blanks lost, inner kept")
        << withDefaults("1,\"  Anna  Maria \",\" 49 89 \",0\r\n") << withDefaults("1,\"Anna  Maria\",\"49 89\",0\r\n");
    QTest::newRow("record over several lines") << withDefaults("1\r\n\"A\"\r\n\"1\",1\r\n2,\"B\",\"2\",0\r\n")
                                               << withDefaults("1,\"A\",\"1\",1\r\n2,\"B\",\"2\",0\r\n");
    QTest::newRow("unquoted fields and LF line ends") << QByteArray(
        "[QUIRLANTO VERSION 4]\n0,1,0,0,,0,00,49,89,12,,,0\nB\xFCro 1,B\xFCro 2,Privat 1,Privat 2\n1,A,1,1\n")
                                                      << withDefaults("1,\"A\",\"1\",1\r\n");
    QTest::newRow("text after closing quote dropped")
        << withDefaults("1,\"A\"xyz,\"1\" ,1\r\n") << withDefaults("1,\"A\",\"1\",1\r\n");
    QTest::newRow("windows-1252 names")
        << kHeaderLine + kDefaultSettingsLine
               + "\"\x80uro\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n1,\"M\xFCller\",\"1\",0\r\n"
        << kHeaderLine + kDefaultSettingsLine
               + "\"\x80uro\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n1,\"M\xFCller\",\"1\",0\r\n";
    QTest::newRow("port out of range takes default")
        << kHeaderLine + "5,17,9,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",4\r\n" + kDefaultCardsLine
        << kNewRegisterFile;
    QTest::newRow("size above range clamps")
        << kHeaderLine + "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",30,\"\",\"\",0\r\n" + kDefaultCardsLine
        << kHeaderLine + "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",24,\"\",\"\",0\r\n" + kDefaultCardsLine;
    QTest::newRow("size below range clamps")
        << kHeaderLine + "0,0,0,0,\"\",0,\"00\",\"49\",\"89\",2,\"\",\"\",0\r\n" + kDefaultCardsLine
        << kHeaderLine + "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",6,\"\",\"\",0\r\n" + kDefaultCardsLine;
}

void TestRegisterFile::readThenWrite()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, written);
    const qsizetype offset = file.indexOf('\n') + 1;
    const ReadRegisterResult read = readRegister(file, offset);
    QCOMPARE(read.problem, QString());
    QCOMPARE(registerBytes(read.contents), written);
}

void TestRegisterFile::damagedFileKeepsWhatItCan_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QByteArray>("written");
    const QByteArray a("1,\"A\",\"1\",0\r\n");
    const QByteArray b("2,\"B\",\"2\",1\r\n");
    QTest::newRow("card number 7") << withDefaults(a + "7,\"Weg\",\"9\",0\r\n" + b)
                                   << "Zeile 5: Die Kartennummer 7 gibt es nicht; der Eintrag „Weg“ wurde übersprungen."
                                   << withDefaults(a + b);
    QTest::newRow("negative card number")
        << withDefaults("-1,\"Weg\",\"9\",0\r\n" + b)
        << "Zeile 4: Die Kartennummer -1 gibt es nicht; der Eintrag „Weg“ wurde übersprungen." << withDefaults(b);
    QTest::newRow("card number not a number")
        << withDefaults(a + "x,\"Weg\",\"9\",0\r\n" + b)
        << "Zeile 5: „x“ ist keine gültige Kartennummer; die Zeile wurde übersprungen." << withDefaults(a + b);
    QTest::newRow("card number beyond 16 bits")
        << withDefaults("70000,\"Weg\",\"9\",0\r\n" + b)
        << "Zeile 4: „70000“ ist keine gültige Kartennummer; die Zeile wurde übersprungen." << withDefaults(b);
    QTest::newRow("zero flag not a number")
        << withDefaults("1,\"A\",\"1\",ja\r\n" + b)
        << "Zeile 4: „ja“ ist keine gültige Angabe für die vorangestellte Null; sie gilt als 0." << withDefaults(a + b);
    QTest::newRow("placeholders in the file stay text")
        << withDefaults("1,\"A\",\"1\",%1\r\n7,\"%1%2\",\"9\",0\r\n")
        << "Zeile 4: „%1“ ist keine gültige Angabe für die vorangestellte Null; sie gilt als 0.\n"
           "Zeile 5: Die Kartennummer 7 gibt es nicht; der Eintrag „%1%2“ wurde übersprungen."
        << withDefaults(a);
    QTest::newRow("setting not a number")
        << kHeaderLine + "0,COM2,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n" + kDefaultCardsLine
        << "Zeile 2: „COM2“ ist als Einstellung keine gültige Zahl." << kNewRegisterFile;
    QTest::newRow("ends inside the settings")
        << kHeaderLine + "1,3,0,0,\"9\""
        << "Die Datei endet vor dem Ende der Einstellungen; für die fehlenden Werte gelten die Grundwerte."
        << kHeaderLine + "1,3,0,0,\"9\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n" + kDefaultCardsLine;
    QTest::newRow("ends inside the card names")
        << kHeaderLine + kDefaultSettingsLine + "\"Eins\",\"Zwei\""
        << "Die Datei endet vor den Kartennamen; es gelten die Grundwerte."
        << kHeaderLine + kDefaultSettingsLine + "\"Eins\",\"Zwei\",\"Privat 1\",\"Privat 2\"\r\n";
    QTest::newRow("ends after a name") << withDefaults(
        a + "2,\"Halb\"") << "Zeile 5: Die Datei endet mitten im Eintrag „Halb“; er wurde unvollständig übernommen."
                                       << withDefaults(a + "2,\"Halb\",\"\",0\r\n");
    QTest::newRow("ends after a card number")
        << withDefaults(a + "2,") << "Zeile 5: Die Datei endet mitten in einem Eintrag." << withDefaults(a);
    QTest::newRow("unclosed quote")
        << withDefaults(a + "2,\"B\",\"2,1\r\n")
        << "Zeile 5: Ein Text in Anführungszeichen wird nicht geschlossen; der Rest der Datei wurde als ein Text gelesen.\n"
           "Zeile 5: Die Datei endet mitten im Eintrag „B“; er wurde unvollständig übernommen."
        << withDefaults(a + "2,\"B\",\"2,1\r\n\",0\r\n");
    QTest::newRow("quotes resynchronise")
        << withDefaults(a + "2,\"B,\"2\",1\r\n")
        << "Zeile 5: Die Datei endet mitten im Eintrag „B,“; er wurde unvollständig übernommen."
        << withDefaults(a + "2,\"B,\",\"1\",0\r\n");
    QTest::newRow("lines after card 0")
        << withDefaults(a + "0\r\n" + b)
        << "Zeile 5: Nach der Kartennummer 0, die die Liste beendet, folgen weitere Zeilen; sie wurden nicht gelesen."
        << withDefaults(a);
    const QString tooLong = QStringLiteral(" ist zu lang (Name höchstens 200, Nummer höchstens 64 Zeichen); er wurde "
                                           "übersprungen.");
    QTest::newRow("name too long") << withDefaults(a + "2,\"" + QByteArray(201, 'N') + "\",\"1\",0\r\n" + b)
                                   << "Zeile 5: Der Eintrag „" + QString(40, 'N') + "…“" + tooLong
                                   << withDefaults(a + b);
    QTest::newRow("number too long") << withDefaults(a + "2,\"Lang\",\"" + QByteArray(65, '1') + "\",0\r\n" + b)
                                     << "Zeile 5: Der Eintrag „Lang“" + tooLong << withDefaults(a + b);
    QTest::newRow("card name too long")
        << kHeaderLine + kDefaultSettingsLine + "\"" + QByteArray(201, 'K') + "\",\"B\",\"C\",\"D\"\r\n"
        << "Zeile 3: „" + QString(40, 'K') + "…“ ist mit 201 Zeichen zu lang (höchstens 200); es gilt der Grundwert."
        << kHeaderLine + kDefaultSettingsLine + "\"B\xfcro 1\",\"B\",\"C\",\"D\"\r\n";
    QTest::newRow("setting too long") << kHeaderLine + "0,1,0,0,\"\",0,\"00\",\"49\",\"" + QByteArray(65, '8')
                                             + "\",12,\"\",\"\",0\r\n" + kDefaultCardsLine
                                      << "Zeile 2: „" + QString(40, '8')
                                             + "…“ ist mit 65 Zeichen zu lang (höchstens 64); es gilt der Grundwert."
                                      << kNewRegisterFile;
    QByteArray many;
    QStringList listed;
    for (int i = 0; i < 12; ++i) {
        many += "9,\"X\",\"1\",0\r\n";
        if (i < 10)
            listed << QStringLiteral("Zeile %1: Die Kartennummer 9 gibt es nicht; der Eintrag „X“ wurde übersprungen.")
                          .arg(i + 4);
    }
    listed << QStringLiteral("… und 2 weitere Stellen.");
    QTest::newRow("long list is cut") << withDefaults(many) << listed.join('\n') << kNewRegisterFile;
    QTest::newRow("empty") << QByteArray(" \r\n") << "Die Datei ist leer; es gelten die Grundwerte."
                           << kNewRegisterFile;
}

void TestRegisterFile::damagedFileKeepsWhatItCan()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, problem);
    QFETCH(QByteArray, written);
    const ReadRegisterResult read = readRegisterFile(file);
    QVERIFY(read.compatible);
    QCOMPARE(read.problem, problem);
    QCOMPARE(registerBytes(read.contents), written);
}

void TestRegisterFile::headerCheck_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<bool>("compatible");
    QTest::newRow("exact") << QByteArray("[QUIRLANTO VERSION 4]\r\n") << true;
    QTest::newRow("blanks around") << QByteArray("  [QUIRLANTO VERSION 4] \t\r\n") << true;
    QTest::newRow("LF only") << QByteArray("[QUIRLANTO VERSION 4]\n") << true;
    QTest::newRow("lower case letter") << QByteArray("[QUIRLANTO VERSIoN 4]\r\n") << false;
    QTest::newRow("older version") << QByteArray("[QUIRLANTO VERSION 3]\r\n") << false;
    QTest::newRow("inner blank") << QByteArray("[QUIRLANTO  VERSION 4]\r\n") << false;
}

void TestRegisterFile::headerCheck()
{
    QFETCH(QByteArray, header);
    QFETCH(bool, compatible);
    const ReadRegisterResult read =
        readRegisterFile(header + kDefaultSettingsLine + kDefaultCardsLine + "1,\"A\",\"1\",1\r\n");
    QCOMPARE(read.compatible, compatible);
    QCOMPARE(read.contents.cards[0].entries,
             compatible ? QList<PhoneEntry>{makePhoneEntry(u"A", u"1", true)} : QList<PhoneEntry>{});
}

void TestRegisterFile::writesRotateBackup()
{
    writeFile(m_paths.registerPath, kNewRegisterFile);
    RegisterContents contents;
    contents.cards[0].entries << makePhoneEntry(u"A", u"1", false);
    QVERIFY(writeRegister(contents, m_paths).ok);
    QCOMPARE(readFile(m_paths.registerBackupPath), kNewRegisterFile);
    const QByteArray afterFirst = withDefaults("1,\"A\",\"1\",0\r\n");
    QCOMPARE(readFile(m_paths.registerPath), afterFirst);

    contents.cards[0].entries.clear();
    QVERIFY(writeRegister(contents, m_paths).ok);
    QCOMPARE(readFile(m_paths.registerBackupPath), afterFirst);
    QCOMPARE(readFile(m_paths.registerPath), kNewRegisterFile);
    QCOMPARE(entriesOf(m_dir->path()), (QStringList{"Telefonregister.bak", "Telefonregister.ini"}));
}

void TestRegisterFile::failedWriteKeepsFile()
{
    const QByteArray file = withDefaults("1,\"A\",\"1\",0\r\n");
    writeFile(m_paths.registerPath, file);
    setWriteFailureHook([](WriteStep step) { return step == WriteStep::WriteData ? ENOSPC : 0; });
    const WriteResult result = writeRegister(RegisterContents{}, m_paths);
    QVERIFY(!result.ok);
    QCOMPARE(result.error,
             QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: Kein Speicherplatz mehr frei.")
                 .arg(m_paths.registerPath));
    QCOMPARE(readFile(m_paths.registerPath), file);
}

QTEST_GUILESS_MAIN(TestRegisterFile)
#include "tst_registerfile.moc"
