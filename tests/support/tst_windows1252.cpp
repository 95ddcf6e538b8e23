#include "support/windows1252.h"

#include <QTest>

using namespace quirlanto;

class TestWindows1252 : public QObject {
    Q_OBJECT
private slots:
    void encode_data();
    void encode();
    void decodeMatchesEncode_data() { encode_data(); }
    void decodeMatchesEncode();
    void everyByteRoundTrips();
    void outsideThePage_data();
    void outsideThePage();
    void storedFormHasNoControlChars_data();
    void storedFormHasNoControlChars();
};

void TestWindows1252::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << QStringLiteral("Muster, Erika 089") << QByteArray("Muster, Erika 089");
    QTest::newRow("euro") << QStringLiteral("€") << QByteArray("\x80");
    QTest::newRow("umlauts") << QStringLiteral("Büro äöüÄÖÜß") << QByteArray("B\xFCro \xE4\xF6\xFC\xC4\xD6\xDC\xDF");
    QTest::newRow("high table") << QStringLiteral("‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ")
                                << QByteArray("\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94"
                                              "\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F");
    QTest::newRow("latin1 upper half") << QStringLiteral("\u00A0©°µÿ") << QByteArray("\xA0\xA9\xB0\xB5\xFF");
    QTest::newRow("control char 1") << QStringLiteral("a\u0001b")
                                    << QByteArray("a\x01"
                                                  "b");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestWindows1252::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(toWindows1252(text), bytes);
}

void TestWindows1252::decodeMatchesEncode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(fromWindows1252(bytes), text);
}

void TestWindows1252::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = fromWindows1252(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(toWindows1252(text), all);
}

void TestWindows1252::outsideThePage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("letters folded to their base") << QStringLiteral("Łódź Dvořák Ayşe ǘ")
                                                  << QByteArray("L\xF3"
                                                                "dz Dvor\xE1k Ayse \xFC");
    QTest::newRow("symbols without base") << QStringLiteral("→∑") << QByteArray("??");
    QTest::newRow("cjk") << QStringLiteral("日本") << QByteArray("??");
    QTest::newRow("emoji is one char") << QStringLiteral("a😀b") << QByteArray("a?b");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + QLatin1Char('x') << QByteArray("?x");
    QTest::newRow("quote stays") << QStringLiteral("„x“") << QByteArray("\x84x\x93");
}

void TestWindows1252::outsideThePage()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(toWindows1252(text), bytes);
}

// Whatever a name or number comes from, a control character stored would break the line list.
void TestWindows1252::storedFormHasNoControlChars_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("line break") << QStringLiteral("Anna\r\nBerg") << QStringLiteral("Anna Berg");
    QTest::newRow("NUL, BEL, ESC, DEL") << QStringLiteral("a\0b\ac\033d\x7F") << QStringLiteral("a b c d ");
    QTest::newRow("blanks around collapse") << QStringLiteral("a \t \x01  b") << QStringLiteral("a b");
    QTest::newRow("blanks elsewhere stay") << QStringLiteral("a  b\tc") << QStringLiteral("a  b c");
}

void TestWindows1252::storedFormHasNoControlChars()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QCOMPARE(storedForm(text), stored);
}

QTEST_GUILESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
