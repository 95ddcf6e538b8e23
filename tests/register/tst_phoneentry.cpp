#include "register/nameorder.h"
#include "register/phoneentry.h"
#include "support/textfields.h"
#include "support/windows1252.h"

#include <QTest>

using namespace quirlanto;

class TestPhoneEntry : public QObject {
    Q_OBJECT
private slots:
    void outerBlanksDropped_data();
    void outerBlanksDropped();
    void usableEntries();
    void quotesBecomeApostrophes();
    void namesSortGerman_data();
    void namesSortGerman();
};

void TestPhoneEntry::outerBlanksDropped_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("expectedName");
    QTest::addColumn<QString>("expectedNumber");
    QTest::newRow("plain") << "Muster, Erika"
                           << "4930123456"
                           << "Muster, Erika"
                           << "4930123456";
    QTest::newRow("outer blanks dropped") << "  Anna  Bauer "
                                          << " 49 89 1 "
                                          << "Anna  Bauer"
                                          << "49 89 1";
    QTest::newRow("tabs are not blanks") << "\tX"
                                         << "1\t"
                                         << "\tX"
                                         << "1\t";
    QTest::newRow("blanks only") << "   "
                                 << ""
                                 << ""
                                 << "";
    QTest::newRow("letters of the code page") << QStringLiteral(" Jürgen – Café € ") << QStringLiteral("0‰ ")
                                              << QStringLiteral("Jürgen – Café €") << QStringLiteral("0‰");
}

void TestPhoneEntry::outerBlanksDropped()
{
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(QString, expectedName);
    QFETCH(QString, expectedNumber);
    const PhoneEntry expected{expectedName, expectedNumber, true};
    QCOMPARE(makePhoneEntry(name, number, true), expected);
    // Straight from the file's bytes, the same entry.
    QCOMPARE(phoneEntryFromFile(toWindows1252(name), toWindows1252(number), true), expected);
}

void TestPhoneEntry::usableEntries()
{
    QVERIFY(isUsableEntry({QStringLiteral("A"), QStringLiteral("1"), false}));
    QVERIFY(!isUsableEntry({QStringLiteral(" \t"), QStringLiteral("1"), false}));
    QVERIFY(!isUsableEntry({QStringLiteral("A"), QString(), true}));
}

void TestPhoneEntry::quotesBecomeApostrophes()
{
    QString text = QStringLiteral("Say \"Hi\" \"");
    quotesToApostrophes(text);
    QCOMPARE(text, QStringLiteral("Say 'Hi' '"));
}

void TestPhoneEntry::namesSortGerman_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("umlauts beside their base letters")
        << QStringList{"Zander", "Müller", "Mz", "ärger", "Muller", "Möller", "Mueller", "Bach"}
        << QStringList{"ärger", "Bach", "Möller", "Mueller", "Muller", "Müller", "Mz", "Zander"};
    QTest::newRow("case ignored, ß as ss") << QStringList{"van Dijk", "Weisst", "Zander", "Weißer", "abel", "Berg"}
                                           << QStringList{"abel", "Berg", "van Dijk", "Weißer", "Weisst", "Zander"};
    QTest::newRow("equal names keep their order")
        << QStringList{"müller", "MÜLLER", "Müller"} << QStringList{"müller", "MÜLLER", "Müller"};
}

void TestPhoneEntry::namesSortGerman()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, sorted);
    // The C locale has no German rules: the folded order stands in for them.
    for (const NameOrder &order : {NameOrder::german(), NameOrder(QLocale::c())}) {
        QList<PhoneEntry> entries;
        for (const QString &name : names)
            entries.append({name, QStringLiteral("1"), false});
        order.sort(entries);
        QStringList result;
        for (const PhoneEntry &entry : entries)
            result << entry.name;
        QCOMPARE(result, sorted);
    }
}

QTEST_APPLESS_MAIN(TestPhoneEntry)
#include "tst_phoneentry.moc"
