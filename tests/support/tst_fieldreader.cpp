#include "support/fieldreader.h"

#include <QRandomGenerator>
#include <QTest>

using namespace quirlanto;

class TestFieldReader : public QObject {
    Q_OBJECT
private slots:
    void texts_data();
    void texts();
    void numbers_data();
    void numbers();
    void endOfData_data();
    void endOfData();
    void unclosedQuoteRunsToTheEnd();
    void startOffsetSkipsTheHeader();
    void badFlagIsPerField();
    void randomInputAlwaysTerminates();
    void rawFieldAndResync();
    void readsTheCallersBytesWithoutACopy();
};

void TestFieldReader::texts_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("commas") << QByteArray("a,b,c") << QStringList{"a", "b", "c"};
    QTest::newRow("crlf") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("lf") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("cr") << QByteArray("a\rb") << QStringList{"a", "b"};
    QTest::newRow("leading blanks") << QByteArray("  a,\t b") << QStringList{"a", "b"};
    QTest::newRow("unquoted trailing blanks") << QByteArray("a b  ,c") << QStringList{"a b", "c"};
    QTest::newRow("quoted comma") << QByteArray("\"Muster, Erika\",1") << QStringList{"Muster, Erika", "1"};
    QTest::newRow("quoted keeps blanks") << QByteArray("\" x \",y") << QStringList{" x ", "y"};
    QTest::newRow("after closing quote dropped") << QByteArray("\"abc\"def,g") << QStringList{"abc", "g"};
    QTest::newRow("after closing quote to line end") << QByteArray("\"abc\" junk\r\ng") << QStringList{"abc", "g"};
    QTest::newRow("empty quoted") << QByteArray("\"\",x") << QStringList{"", "x"};
    QTest::newRow("empty between commas") << QByteArray("a,,b") << QStringList{"a", "", "b"};
    QTest::newRow("comma then line end") << QByteArray("a,\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("empty lines carry nothing") << QByteArray("a\r\n\r\n  \r\nb") << QStringList{"a", "b"};
    QTest::newRow("quoted over lines") << QByteArray("\"x\r\ny\",z") << QStringList{"x\r\ny", "z"};
    QTest::newRow("quote inside unquoted") << QByteArray("ab\"c,d") << QStringList{"ab\"c", "d"};
    QTest::newRow("windows-1252") << QByteArray("\"B\xFCro 1\",\x80") << QStringList{"Büro 1", "€"};
    QTest::newRow("missing field reads empty") << QByteArray("a") << QStringList{"a", ""};
}

void TestFieldReader::texts()
{
    QFETCH(QByteArray, data);
    QFETCH(QStringList, fields);
    FieldReader reader(data);
    QStringList read;
    for (qsizetype i = 0; i < fields.size(); ++i)
        read << reader.readText();
    QCOMPARE(read, fields);
}

void TestFieldReader::numbers_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<double>("number");
    QTest::addColumn<int>("int16");
    QTest::addColumn<bool>("bad");
    QTest::addColumn<bool>("int16Bad");
    QTest::newRow("plain") << QByteArray("12") << 12.0 << 12 << false << false;
    QTest::newRow("8.25") << QByteArray("8.25") << 8.25 << 8 << false << false;
    QTest::newRow("2.5 to even") << QByteArray("2.5") << 2.5 << 2 << false << false;
    QTest::newRow("3.5 to even") << QByteArray("3.5") << 3.5 << 4 << false << false;
    QTest::newRow("-2.5 to even") << QByteArray("-2.5") << -2.5 << -2 << false << false;
    QTest::newRow("2.51 up") << QByteArray("2.51") << 2.51 << 3 << false << false;
    QTest::newRow("empty") << QByteArray("") << 0.0 << 0 << false << false;
    QTest::newRow("blanks") << QByteArray("  7  ") << 7.0 << 7 << false << false;
    QTest::newRow("plus sign") << QByteArray("+7") << 7.0 << 7 << false << false;
    QTest::newRow("point first") << QByteArray(".75") << 0.75 << 1 << false << false;
    QTest::newRow("exponent") << QByteArray("1.5e2") << 150.0 << 150 << false << false;
    QTest::newRow("quoted number") << QByteArray("\"12\"") << 12.0 << 12 << false << false;
    QTest::newRow("decimal comma splits") << QByteArray("1,5") << 1.0 << 1 << false << false;
    QTest::newRow("16-bit max") << QByteArray("32767") << 32767.0 << 32767 << false << false;
    QTest::newRow("16-bit min") << QByteArray("-32768") << -32768.0 << -32768 << false << false;
    QTest::newRow("one above 16 bits") << QByteArray("32768") << 32768.0 << 32767 << false << true;
    QTest::newRow("rounds above 16 bits") << QByteArray("32767.5") << 32767.5 << 32767 << false << true;
    QTest::newRow("one below 16 bits") << QByteArray("-32769") << -32769.0 << -32768 << false << true;
    QTest::newRow("many leading zeros") << QByteArray("0000000000042") << 42.0 << 42 << false << false;
    QTest::newRow("beyond double") << QByteArray("1e999") << 1.7976931348623157e308 << 32767 << true << true;
    QTest::newRow("word") << QByteArray("abc") << 0.0 << 0 << true << true;
    QTest::newRow("leading part") << QByteArray("8x") << 8.0 << 8 << true << true;
    QTest::newRow("dangling exponent") << QByteArray("12.5e") << 12.5 << 12 << true << true;
    QTest::newRow("lone point") << QByteArray(".") << 0.0 << 0 << true << true;
    QTest::newRow("lone sign") << QByteArray("-") << 0.0 << 0 << true << true;
    QTest::newRow("hex") << QByteArray("0x10") << 0.0 << 0 << true << true;
    QTest::newRow("inf") << QByteArray("inf") << 0.0 << 0 << true << true;
    QTest::newRow("nan") << QByteArray("nan") << 0.0 << 0 << true << true;
}

void TestFieldReader::numbers()
{
    QFETCH(QByteArray, field);
    QFETCH(double, number);
    QFETCH(int, int16);
    QFETCH(bool, bad);
    QFETCH(bool, int16Bad);

    FieldReader asNumber(field);
    QCOMPARE(asNumber.readNumber(), number);
    QCOMPARE(asNumber.lastNumberWasBad(), bad);

    FieldReader asInt(field);
    QCOMPARE(int(asInt.readInt16()), int16);
    QCOMPARE(asInt.lastNumberWasBad(), int16Bad);
}

void TestFieldReader::endOfData_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("reads");
    QTest::addColumn<bool>("atEnd");
    QTest::addColumn<bool>("hitEnd");
    QTest::newRow("empty") << QByteArray() << 0 << true << false;
    QTest::newRow("read from empty") << QByteArray() << 1 << true << true;
    QTest::newRow("final line end") << QByteArray("1\r\n") << 1 << true << false;
    QTest::newRow("trailing blank lines") << QByteArray("1\r\n \r\n\r\n") << 1 << true << false;
    QTest::newRow("more on the line") << QByteArray("1,2\r\n") << 1 << false << false;
    QTest::newRow("more on next line") << QByteArray("1\r\n2") << 1 << false << false;
    QTest::newRow("past the end") << QByteArray("1") << 2 << true << true;
    QTest::newRow("only blanks") << QByteArray("   \t ") << 0 << true << false;
}

void TestFieldReader::endOfData()
{
    QFETCH(QByteArray, data);
    QFETCH(int, reads);
    QFETCH(bool, atEnd);
    QFETCH(bool, hitEnd);
    FieldReader reader(data);
    for (int i = 0; i < reads; ++i)
        reader.readText();
    QCOMPARE(reader.atEnd(), atEnd);
    QCOMPARE(reader.hitEnd(), hitEnd);
}

void TestFieldReader::unclosedQuoteRunsToTheEnd()
{
    FieldReader reader(QByteArray("\"abc,def\r\nx"));
    QCOMPARE(reader.readText(), QStringLiteral("abc,def\r\nx"));
    QVERIFY(reader.hadUnclosedQuote());
    QVERIFY(reader.atEnd());
    QVERIFY(!reader.hitEnd());

    FieldReader closed(QByteArray("\"abc\""));
    closed.readText();
    QVERIFY(!closed.hadUnclosedQuote());
}

void TestFieldReader::startOffsetSkipsTheHeader()
{
    const QByteArray data("[HEADER]\r\n5,\"x\"\r\n");
    FieldReader reader(data, data.indexOf('\n') + 1);
    QCOMPARE(int(reader.readInt16()), 5);
    QCOMPARE(reader.readText(), QStringLiteral("x"));
    QVERIFY(reader.atEnd());

    FieldReader beyond(data, data.size() + 10);
    QVERIFY(beyond.atEnd());
}

void TestFieldReader::badFlagIsPerField()
{
    FieldReader reader(QByteArray("x,99999,3"));
    reader.readInt16();
    QVERIFY(reader.lastNumberWasBad());
    QCOMPARE(int(reader.readInt16()), 32767);
    QVERIFY(reader.lastNumberWasBad());
    QCOMPARE(int(reader.readInt16()), 3);
    QVERIFY(!reader.lastNumberWasBad());
}

// Whatever bytes come in, every read moves forward or reports the end, so no loop hangs.
void TestFieldReader::randomInputAlwaysTerminates()
{
    const char alphabet[] = {'"', ',', '\r', '\n', ' ', '\t', '1', '.', '-', 'e', 'a', '\x80', '\0', '\xFF'};
    QRandomGenerator random(4711);
    for (int round = 0; round < 3000; ++round) {
        QByteArray data;
        const int length = random.bounded(60);
        for (int i = 0; i < length; ++i)
            data.append(alphabet[random.bounded(int(sizeof alphabet))]);
        FieldReader reader(data);
        int reads = 0;
        while (!reader.atEnd() && !reader.hitEnd()) {
            const qsizetype before = reader.offset();
            if (reads % 3 == 0)
                reader.readText();
            else if (reads % 3 == 1)
                reader.readInt16();
            else
                reader.readNumber();
            ++reads;
            QVERIFY2(reader.offset() > before, data.toHex().constData());
            QVERIFY(reader.offset() <= data.size());
        }
        QVERIFY(reads <= length + 1);
    }
}

void TestFieldReader::rawFieldAndResync()
{
    const QByteArray data("1, \"x,y\" rest,z\r\n2\r\n");
    FieldReader reader(data);
    reader.readInt16();
    reader.readText();
    QCOMPARE(reader.lastRawField(), QByteArrayView("x,y"));
    QCOMPARE(reader.lastFieldStart(), qsizetype(3));
    reader.skipToNextLine(); // drops "z"
    QCOMPARE(int(reader.readInt16()), 2);
    QCOMPARE(reader.lastFieldStart(), data.indexOf('2'));
    reader.skipToNextLine(); // already at a line start: nothing to drop
    QVERIFY(reader.atEnd());
}

// A reader made per damaged line must not copy the whole file each time (that made reading
// quadratic): the fields it hands out lie in the caller's bytes.
void TestFieldReader::readsTheCallersBytesWithoutACopy()
{
    const QByteArray data("x,\"name\"\r\nbad line\r\n7");
    FieldReader reader(data, 2);
    const auto inData = [&data](QByteArrayView field) {
        return field.data() >= data.constData() && field.data() + field.size() <= data.constData() + data.size();
    };
    QVERIFY(inData(reader.readTextBytes()));
    reader.skipToNextLine();
    QVERIFY(!reader.atEnd());
    QVERIFY(inData(reader.readTextBytes()));
    QCOMPARE(reader.readNumber(), 7.0);
    QVERIFY(inData(reader.lastRawField()));
}

QTEST_GUILESS_MAIN(TestFieldReader)
#include "tst_fieldreader.moc"
