#include "register/phoneentry.h"
#include "support/windows1252.h"

#include <QTest>

using namespace quirlanto;

Q_DECLARE_METATYPE(quirlanto::PhoneEntry)

class TestPhoneEntry : public QObject {
    Q_OBJECT
private slots:
    void separatorShape();
    void makeItemText_data();
    void makeItemText();
    void accessors_data();
    void accessors();
    void entryRoundTrip_data();
    void entryRoundTrip();
    void quotesBecomeApostrophes();
};

void TestPhoneEntry::separatorShape()
{
    const QString &sep = listSeparator();
    QCOMPARE(sep.size(), 151);
    QCOMPARE(sep.left(150), QString(150, QLatin1Char(' ')));
    QCOMPARE(sep.back(), QChar(1));
}

void TestPhoneEntry::makeItemText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("flag");
    QTest::addColumn<QString>("expectedName");
    QTest::addColumn<QString>("expectedTail");
    QTest::newRow("plain") << "Muster, Erika"
                           << "4930123456" << 1 << "Muster, Erika"
                           << "4930123456~1";
    QTest::newRow("outer blanks dropped") << "  Anna  Bauer "
                                          << " 49 89 1 " << 0 << "Anna  Bauer"
                                          << "49 89 1~0";
    QTest::newRow("tabs are not blanks") << "\tX"
                                         << "1\t" << 0 << "\tX"
                                         << "1\t~0";
    QTest::newRow("empty") << ""
                           << "" << 0 << ""
                           << "~0";
    QTest::newRow("flag digit is 48 plus flag") << "A"
                                                << "1" << 7 << "A"
                                                << "1~7";
    QTest::newRow("letters of the code page") << QStringLiteral(" Jürgen – Café € ") << QStringLiteral("0‰ ") << 1
                                              << QStringLiteral("Jürgen – Café €") << QStringLiteral("0‰~1");
}

void TestPhoneEntry::makeItemText()
{
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(int, flag);
    QFETCH(QString, expectedName);
    QFETCH(QString, expectedTail);
    QCOMPARE(quirlanto::makeItemText(name, number, flag), expectedName + listSeparator() + expectedTail);
    // Straight from the file's bytes, the same item.
    QCOMPARE(makeItemTextFromFile(toWindows1252(name), toWindows1252(number), flag),
             expectedName + listSeparator() + expectedTail);
}

void TestPhoneEntry::accessors_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tail");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("flag");
    const QString sep = listSeparator();
    QTest::newRow("normal") << "Anna" + sep + "4989123~1"
                            << "Anna"
                            << "4989123~1"
                            << "4989123" << 1;
    QTest::newRow("flag zero") << "Anna" + sep + "4989123~0"
                               << "Anna"
                               << "4989123~0"
                               << "4989123" << 0;
    QTest::newRow("flag not a digit") << "A" + sep + "1~x"
                                      << "A"
                                      << "1~x"
                                      << "1" << 0;
    QTest::newRow("flag other digit") << "A" + sep + "1~9"
                                      << "A"
                                      << "1~9"
                                      << "1" << 9;
    QTest::newRow("no separator") << "just text"
                                  << "just text"
                                  << ""
                                  << "" << 0;
    QTest::newRow("short tail") << "A" + sep + "5"
                                << "A"
                                << "5"
                                << "" << 5;
    QTest::newRow("first separator counts") << "A" + sep + "B" + sep + "1~1"
                                            << "A"
                                            << "B" + sep + "1~1"
                                            << "B" + sep + "1" << 1;
    QTest::newRow("149 blanks are no separator") << "A" + QString(149, ' ') + QChar(1) + "1~1"
                                                 << "A" + QString(149, ' ') + QChar(1) + "1~1"
                                                 << ""
                                                 << "" << 0;
}

void TestPhoneEntry::accessors()
{
    QFETCH(QString, item);
    QFETCH(QString, name);
    QFETCH(QString, tail);
    QFETCH(QString, number);
    QFETCH(int, flag);
    QCOMPARE(entryName(item), name);
    QCOMPARE(entryTail(item), tail);
    QCOMPARE(entryNumber(item), number);
    QCOMPARE(int(entryZeroFlag(item)), flag);
}

void TestPhoneEntry::entryRoundTrip_data()
{
    QTest::addColumn<PhoneEntry>("entry");
    QTest::newRow("comma") << PhoneEntry{"Muster, Erika", "4930123456", 1};
    QTest::newRow("quotes and umlauts") << PhoneEntry{"„Bäcker“ \"Max\"", "+49 (89) 12-34", 0};
    QTest::newRow("tilde in number") << PhoneEntry{"X", "49~89~1", 1};
}

void TestPhoneEntry::entryRoundTrip()
{
    QFETCH(PhoneEntry, entry);
    QCOMPARE(phoneEntryFromItem(itemText(entry)), entry);
}

void TestPhoneEntry::quotesBecomeApostrophes()
{
    QString text = QStringLiteral("\"Max\" \"\"");
    quotesToApostrophes(text);
    QCOMPARE(text, QStringLiteral("'Max' ''"));
}

QTEST_GUILESS_MAIN(TestPhoneEntry)
#include "tst_phoneentry.moc"
