#include "providers/providertable.h"
#include "testsupportcore.h"

#include <QRandomGenerator>
#include <QTest>

using namespace quirlanto;
using namespace quirlanto::test;

Q_DECLARE_METATYPE(quirlanto::DayClass)
Q_DECLARE_METATYPE(quirlanto::ProviderTable::Column)

namespace {

void add(ProviderTable &t, const QString &name, const QString &prefix = QStringLiteral("010"), qint16 wd = 1,
         qint16 we = 1, qint16 from = 0, qint16 to = 24, qint16 n = 1, qint16 f = 1, qint16 a = 1)
{
    QVERIFY(t.addProviderRow(name, prefix, wd, we, from, to, n, f, a));
}

} // namespace

class TestProviderTable : public QObject {
    Q_OBJECT

private slots:
    void hourText_data()
    {
        QTest::addColumn<int>("hour");
        QTest::addColumn<QString>("text");
        QTest::newRow("nine") << 9 << "09h";
        QTest::newRow("eighteen") << 18 << "18h";
        QTest::newRow("midnight") << 0 << "00h";
        QTest::newRow("end of day") << 24 << "24h";
        // Hand-edited files: the last three characters rule still holds.
        QTest::newRow("three digits") << 100 << "00h";
        QTest::newRow("negative") << -5 << "-5h";
    }
    void hourText()
    {
        QFETCH(int, hour);
        QFETCH(QString, text);
        QCOMPARE(quirlanto::hourText(qint16(hour)), text);
    }

    void dayClassFromFlags_data()
    {
        QTest::addColumn<int>("weekday");
        QTest::addColumn<int>("weekend");
        QTest::addColumn<DayClass>("day");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0 << 0 << DayClass::None << "";
        QTest::newRow("weekdays") << 1 << 0 << DayClass::Weekdays << "Mo-Fr";
        QTest::newRow("weekend") << 0 << 1 << DayClass::Weekend << "Sa-So";
        QTest::newRow("always") << 1 << 1 << DayClass::Always << "Immer";
        QTest::newRow("weekday flag 2 is code 2") << 2 << 0 << DayClass::Weekend << "Sa-So";
        QTest::newRow("minus one is no class") << -1 << 0 << DayClass::None << "";
        QTest::newRow("weekend flag 2 is code 4") << 0 << 2 << DayClass::None << "";
        QTest::newRow("large weekend flag") << 1 << 32767 << DayClass::None << "";
        QTest::newRow("negative weekend flag") << 0 << -32768 << DayClass::None << "";
    }
    void dayClassFromFlags()
    {
        QFETCH(int, weekday);
        QFETCH(int, weekend);
        QFETCH(DayClass, day);
        QFETCH(QString, text);
        QCOMPARE(quirlanto::dayClassFromFlags(qint16(weekday), qint16(weekend)), day);
        QCOMPARE(dayClassText(day), text);
    }

    void addProviderRowNormalises_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("f");
        QTest::addColumn<int>("a");
        QTest::addColumn<QString>("distance");
        QTest::newRow("all") << 1 << 1 << 1 << "NFA";
        QTest::newRow("local and long") << 1 << 1 << 0 << "NF";
        QTest::newRow("long and abroad") << 0 << 1 << 1 << "FA";
        QTest::newRow("abroad only") << 0 << 0 << 1 << "A";
        QTest::newRow("none") << 0 << 0 << 0 << "";
        QTest::newRow("any nonzero sets") << -1 << 7 << -32768 << "NFA";
    }
    void addProviderRowNormalises()
    {
        QFETCH(int, n);
        QFETCH(int, f);
        QFETCH(int, a);
        QFETCH(QString, distance);
        ProviderTable t;
        QVERIFY(t.addProviderRow(QStringLiteral("  Netz eins \t"), QStringLiteral(" 01013 "), 1, 1, 9, 18, qint16(n),
                                 qint16(f), qint16(a)));
        const ProviderEntry &e = t.at(0);
        QCOMPARE(e.name, QStringLiteral("Netz eins"));
        QCOMPARE(e.networkPrefix, QStringLiteral("01013"));
        QCOMPARE(e.dayClass, DayClass::Always);
        QCOMPARE(e.fromHour, qint16(9));
        QCOMPARE(e.toHour, qint16(18));
        QCOMPARE(distanceText(e), distance);
        QCOMPARE(e.local, n != 0);
        QCOMPARE(e.longDistance, f != 0);
        QCOMPARE(e.abroad, a != 0);
    }

    void defaultSortIsNameAscending()
    {
        ProviderTable t;
        QCOMPARE(t.sortColumn(), ProviderTable::Column::Name);
        QVERIFY(t.sortAscending());
        add(t, QStringLiteral("Tele"));
        add(t, QStringLiteral("Anruf"));
        add(t, QStringLiteral("Mobil"));
        QCOMPARE(names(t), (QStringList{"Anruf", "Mobil", "Tele"}));
    }

    // The list is German: case is ignored and umlauts sit beside their base letter.
    void nameOrderIsGerman()
    {
        ProviderTable t;
        for (const char *n : {"Zebra", "bahn", "Ärzte", "Arena", "Öko", "Ost", "apfel", "Burg"})
            add(t, QString::fromUtf8(n));
        QCOMPARE(names(t), (QStringList{"apfel", "Arena", "Ärzte", "bahn", "Burg", "Öko", "Ost", "Zebra"}));
    }

    void columnTexts()
    {
        ProviderTable t;
        add(t, QStringLiteral("A"), QStringLiteral("01070"), 0, 1, 9, 18, 0, 1, 1);
        const ProviderEntry &e = t.at(0);
        const QStringList expected{"A", "01070", "Sa-So", "09h", "18h", "FA"};
        for (int c = 0; c < ProviderTable::kColumnCount; ++c)
            QCOMPARE(ProviderTable::columnText(e, ProviderTable::Column(c)), expected.at(c));
        QCOMPARE(ProviderTable::columnText(e, ProviderTable::Column(-1)), QString());
        QCOMPARE(ProviderTable::columnText(e, ProviderTable::Column(6)), QString());
    }

    // Each column sorts by its shown text: hours by their two digits, prefixes as text.
    void sortByColumn_data()
    {
        QTest::addColumn<ProviderTable::Column>("column");
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<QStringList>("order");
        // Rows: name, prefix, day, from, to, distance
        //  r1: "b", "0190", Mo-Fr,  9, 18, F
        //  r2: "a", "01013", Sa-So, 18, 24, NFA
        //  r3: "c", "010",  Immer,  0,  6, A
        //  r4: "d", "02",   none,  24, 24, ""
        using C = ProviderTable::Column;
        QTest::newRow("name up") << C::Name << true << QStringList{"a", "b", "c", "d"};
        QTest::newRow("name down") << C::Name << false << QStringList{"d", "c", "b", "a"};
        QTest::newRow("prefix as text") << C::Prefix << true << QStringList{"c", "a", "b", "d"};
        QTest::newRow("day text") << C::Day << true << QStringList{"d", "c", "b", "a"};
        QTest::newRow("from hour") << C::From << true << QStringList{"c", "b", "a", "d"};
        QTest::newRow("to hour down") << C::To << false << QStringList{"a", "d", "b", "c"};
        QTest::newRow("distance letters") << C::Distance << true << QStringList{"d", "c", "b", "a"};
    }
    void sortByColumn()
    {
        QFETCH(ProviderTable::Column, column);
        QFETCH(bool, ascending);
        QFETCH(QStringList, order);
        ProviderTable t;
        add(t, "b", "0190", 1, 0, 9, 18, 0, 1, 0);
        add(t, "a", "01013", 0, 1, 18, 24, 1, 1, 1);
        add(t, "c", "010", 1, 1, 0, 6, 0, 0, 1);
        add(t, "d", "02", 0, 0, 24, 24, 0, 0, 0);
        t.setSort(column, ascending);
        QCOMPARE(t.sortColumn(), column);
        QCOMPARE(t.sortAscending(), ascending);
        QCOMPARE(names(t), order);
        // New rows go to their sorted place under the chosen sort.
        add(t, "e", "011", 1, 0, 12, 13, 0, 1, 0);
        ProviderTable fresh;
        fresh.setSort(column, ascending);
        for (const ProviderEntry &e : t.rows())
            fresh.appendUnsorted(e);
        fresh.sortRows();
        QCOMPARE(names(t), names(fresh));
    }

    // Equal texts keep their relative order in both directions; reversing swaps only what differs.
    void sortIsStable()
    {
        ProviderTable t;
        t.setSort(ProviderTable::Column::Day, true);
        add(t, "first", "1", 1, 0);
        add(t, "always", "2", 1, 1);
        add(t, "second", "3", 1, 0);
        add(t, "third", "4", 1, 0);
        QCOMPARE(names(t), (QStringList{"always", "first", "second", "third"}));
        t.setSort(ProviderTable::Column::Day, false);
        QCOMPARE(names(t), (QStringList{"first", "second", "third", "always"}));
        add(t, "fourth", "5", 1, 0);
        QCOMPARE(names(t), (QStringList{"first", "second", "third", "fourth", "always"}));
        t.setSort(ProviderTable::Column::Day, true);
        QCOMPARE(names(t), (QStringList{"always", "first", "second", "third", "fourth"}));
    }

    void invalidSortColumnKeepsColumn()
    {
        ProviderTable t;
        t.setSort(ProviderTable::Column::Prefix, true);
        t.setSort(ProviderTable::Column(-1), false);
        QCOMPARE(t.sortColumn(), ProviderTable::Column::Prefix);
        QVERIFY(!t.sortAscending());
        t.setSort(ProviderTable::Column(6), true);
        QCOMPARE(t.sortColumn(), ProviderTable::Column::Prefix);
    }

    // Inserting row by row must give exactly what appending and one stable sort gives:
    // the loader relies on it.
    void insertionMatchesStableSort()
    {
        QRandomGenerator rng(4711);
        const QStringList pool{"Tele", "tele", "Anruf", "Ärger", "", " Z", "010", "01013"};
        for (int column = 0; column < ProviderTable::kColumnCount; ++column) {
            for (bool ascending : {true, false}) {
                ProviderTable inserted;
                ProviderTable bulk;
                inserted.setSort(ProviderTable::Column(column), ascending);
                bulk.setSort(ProviderTable::Column(column), ascending);
                for (int i = 0; i < 300; ++i) {
                    const QString name = pool.at(rng.bounded(int(pool.size()))) + QString::number(i % 3);
                    const QString prefix = QString::number(i); // identifies the row
                    const qint16 v[7] = {qint16(rng.bounded(2)),  qint16(rng.bounded(2)), qint16(rng.bounded(25)),
                                         qint16(rng.bounded(25)), qint16(rng.bounded(2)), qint16(rng.bounded(2)),
                                         qint16(rng.bounded(2))};
                    QVERIFY(inserted.addProviderRow(name, prefix, v[0], v[1], v[2], v[3], v[4], v[5], v[6]));
                    ProviderTable single;
                    QVERIFY(single.addProviderRow(name, prefix, v[0], v[1], v[2], v[3], v[4], v[5], v[6]));
                    QVERIFY(bulk.appendUnsorted(single.at(0)));
                }
                bulk.sortRows();
                QStringList a, b;
                for (const ProviderEntry &e : inserted.rows())
                    a << e.networkPrefix;
                for (const ProviderEntry &e : bulk.rows())
                    b << e.networkPrefix;
                QCOMPARE(a, b);
            }
        }
    }

    void removeAt()
    {
        ProviderTable t;
        add(t, "a");
        add(t, "b");
        add(t, "c");
        t.removeAt(1);
        QCOMPARE(names(t), (QStringList{"a", "c"}));
        t.removeAt(2);
        t.removeAt(-1);
        QCOMPARE(names(t), (QStringList{"a", "c"}));
        t.removeAt(1);
        t.removeAt(0);
        QCOMPARE(t.rowCount(), 0);
    }

    void rowLimit()
    {
        ProviderTable t;
        ProviderEntry e;
        e.name = QStringLiteral("x");
        for (int i = 0; i < ProviderTable::kMaxRows; ++i)
            QVERIFY(t.appendUnsorted(e));
        QCOMPARE(t.rowCount(), 32767);
        QVERIFY(!t.appendUnsorted(e));
        QVERIFY(!t.addProviderRow("y", "1", 1, 1, 0, 24, 1, 1, 1));
        QCOMPARE(t.rowCount(), 32767);
        t.removeAt(0);
        QVERIFY(t.addProviderRow("y", "1", 1, 1, 0, 24, 1, 1, 1));
        QCOMPARE(t.rowCount(), 32767);
    }
};

QTEST_GUILESS_MAIN(TestProviderTable)
#include "tst_providertable.moc"
