#include "providers/bestprovider.h"

#include <QTest>

using namespace quirlanto;

namespace {

// One row per text "prefix day from-to letters", e.g. "01013 Immer 18-24 FA";
// day is one of Mo-Fr, Sa-So, Immer, none.
ProviderTable tableOf(const QStringList &rows)
{
    ProviderTable t;
    t.setSort(ProviderTable::Column::Prefix, true);
    for (const QString &r : rows) {
        const QStringList p = r.split(u' ');
        const QString day = p.at(1);
        const QStringList hours = p.at(2).split(u'-');
        const QString dist = p.size() > 3 ? p.at(3) : QString();
        const qint16 wd = (day == u"Mo-Fr" || day == u"Immer") ? 1 : 0;
        const qint16 we = (day == u"Sa-So" || day == u"Immer") ? 1 : 0;
        t.addProviderRow(QStringLiteral("n"), p.at(0), wd, we, qint16(hours.at(0).toInt()), qint16(hours.at(1).toInt()),
                         qint16(dist.contains(u'N')), qint16(dist.contains(u'F')), qint16(dist.contains(u'A')));
    }
    return t;
}

} // namespace

class TestBestProvider : public QObject {
    Q_OBJECT

private slots:
    void choice_data()
    {
        QTest::addColumn<QStringList>("rows"); // sorted by prefix: that is the table order
        QTest::addColumn<int>("weekday");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("distance");
        QTest::addColumn<QString>("prefix");

        QTest::newRow("empty table") << QStringList{} << 1 << 12 << 2 << "";
        QTest::newRow("hour 0 in 0-24") << QStringList{"01 Immer 0-24 NFA"} << 3 << 0 << 1 << "01";
        QTest::newRow("hour 23 in 0-24") << QStringList{"01 Immer 0-24 NFA"} << 3 << 23 << 1 << "01";
        QTest::newRow("hour 24 is past every row") << QStringList{"01 Immer 0-24 NFA"} << 3 << 24 << 1 << "";
        QTest::newRow("from 0 equals to 0 never") << QStringList{"01 Immer 0-0 NFA"} << 3 << 0 << 2 << "";
        QTest::newRow("start inclusive") << QStringList{"01 Immer 9-18 F"} << 2 << 9 << 2 << "01";
        QTest::newRow("end exclusive") << QStringList{"01 Immer 9-18 F"} << 2 << 18 << 2 << "";
        QTest::newRow("last hour before end") << QStringList{"01 Immer 9-18 F"} << 2 << 17 << 2 << "01";
        QTest::newRow("before start") << QStringList{"01 Immer 9-18 F"} << 2 << 8 << 2 << "";
        QTest::newRow("across midnight needs two rows, late")
            << QStringList{"01 Immer 18-24 F", "02 Immer 0-6 F"} << 2 << 22 << 2 << "01";
        QTest::newRow("across midnight needs two rows, early")
            << QStringList{"01 Immer 18-24 F", "02 Immer 0-6 F"} << 2 << 3 << 2 << "02";
        QTest::newRow("reversed hours never") << QStringList{"01 Immer 18-6 F"} << 2 << 23 << 2 << "";
        QTest::newRow("reversed hours never, early") << QStringList{"01 Immer 18-6 F"} << 2 << 3 << 2 << "";

        const QStringList days{"01 Mo-Fr 0-24 NFA", "02 Sa-So 0-24 NFA", "03 Immer 0-24 NFA"};
        QTest::newRow("Monday weekdays") << days << 1 << 10 << 1 << "01";
        QTest::newRow("Friday weekdays") << days << 5 << 10 << 1 << "01";
        QTest::newRow("Saturday weekend") << days << 6 << 10 << 1 << "02";
        QTest::newRow("Sunday weekend") << days << 7 << 10 << 1 << "02";
        QTest::newRow("Friday skips weekend")
            << QStringList{"01 Sa-So 0-24 NFA", "03 Immer 0-24 NFA"} << 5 << 10 << 1 << "03";
        QTest::newRow("no day class never") << QStringList{"01 none 0-24 NFA"} << 1 << 10 << 1 << "";

        const QStringList dist{"01 Immer 0-24 N", "02 Immer 0-24 F", "03 Immer 0-24 A"};
        QTest::newRow("local") << dist << 1 << 10 << 1 << "01";
        QTest::newRow("long distance") << dist << 1 << 10 << 2 << "02";
        QTest::newRow("abroad") << dist << 1 << 10 << 3 << "03";
        QTest::newRow("distance flags off never") << QStringList{"01 Immer 0-24"} << 1 << 10 << 2 << "";
        QTest::newRow("first fitting row wins")
            << QStringList{"01 Immer 0-24 F", "02 Immer 0-24 F"} << 1 << 10 << 2 << "01";
        QTest::newRow("later row when first does not fit")
            << QStringList{"01 Immer 0-24 N", "02 Immer 0-24 F", "03 Immer 0-24 F"} << 1 << 10 << 2 << "02";

        // Never passed by the number preparation; nothing fits, nothing breaks.
        QTest::newRow("weekday 0") << QStringList{"01 Immer 0-24 NFA"} << 0 << 10 << 1 << "";
        QTest::newRow("weekday 8") << QStringList{"01 Immer 0-24 NFA"} << 8 << 10 << 1 << "";
        QTest::newRow("distance 0") << QStringList{"01 Immer 0-24 NFA"} << 1 << 10 << 0 << "";
        QTest::newRow("distance 4") << QStringList{"01 Immer 0-24 NFA"} << 1 << 10 << 4 << "";
    }
    void choice()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, weekday);
        QFETCH(int, hour);
        QFETCH(int, distance);
        QFETCH(QString, prefix);
        const ProviderTable t = tableOf(rows);
        QCOMPARE(t.rowCount(), rows.size());
        QCOMPARE(bestProvider(t, qint16(weekday), qint16(hour), qint16(distance)), prefix);
    }

    void reversingTheSortChangesTheWinner()
    {
        ProviderTable t = tableOf({"01013 Immer 0-24 F", "01070 Mo-Fr 8-20 F", "01088 Sa-So 0-24 F"});
        QCOMPARE(bestProvider(t, 2, 12, 2), QStringLiteral("01013"));
        t.setSort(ProviderTable::Column::Prefix, false);
        QCOMPARE(bestProvider(t, 2, 12, 2), QStringLiteral("01070"));
        t.setSort(ProviderTable::Column::From, true);
        QCOMPARE(bestProvider(t, 2, 12, 2), QStringLiteral("01013"));
    }

    void choiceChangesNothing()
    {
        const ProviderTable t = tableOf({"02 Immer 0-24 F", "01 Immer 0-24 F"});
        const QList<ProviderEntry> before = t.rows();
        QCOMPARE(bestProvider(t, 1, 1, 2), QStringLiteral("01"));
        QVERIFY(t.rows() == before);
    }
};

QTEST_GUILESS_MAIN(TestBestProvider)
#include "tst_bestprovider.moc"
