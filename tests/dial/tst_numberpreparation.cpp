#include "dial/numberpreparation.h"

#include "fixedclock.h"
#include "providers/providertable.h"

#include <QTest>

using namespace quirlanto;

Q_DECLARE_METATYPE(quirlanto::DistanceClass)

namespace {

// Counts reads, so tests can see the clock is left alone while providers are off.
class CountingClock final : public Clock {
public:
    explicit CountingClock(QDateTime at)
        : m_at(std::move(at))
    {}
    QDateTime now() const override
    {
        ++reads;
        return m_at;
    }
    mutable int reads = 0;

private:
    QDateTime m_at;
};

Settings settingsWith(const QString &country, const QString &area, const QString &international = QStringLiteral("00"))
{
    Settings s;
    s.ownCountryCode = country;
    s.ownAreaCode = area;
    s.internationalPrefix = international;
    return s;
}

// 2026-12-07 is a Monday.
QDateTime at(int dayOffset, int hour, int minute = 0)
{
    return QDateTime(QDate(2026, 12, 7).addDays(dayOffset), QTime(hour, minute));
}

} // namespace

class TestNumberPreparation : public QObject {
    Q_OBJECT

private slots:
    void prepareNumber_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("zeroFlag");
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("area");
        QTest::addColumn<DistanceClass>("distance");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("dialNumber");
        QTest::addColumn<QString>("display");

        QTest::newRow("local, flag on") << "4989123456" << 1 << "49"
                                        << "89" << DistanceClass::Local << ""
                                        << "123456"
                                        << "123456";
        QTest::newRow("local, flag off") << "4989123456" << 0 << "49"
                                         << "89" << DistanceClass::Local << ""
                                         << "123456"
                                         << "123456";
        QTest::newRow("long distance, flag on") << "4930123456" << 1 << "49"
                                                << "89" << DistanceClass::LongDistance << ""
                                                << "030123456"
                                                << "030123456";
        QTest::newRow("long distance, flag off") << "4930123456" << 0 << "49"
                                                 << "89" << DistanceClass::LongDistance << ""
                                                 << "30123456"
                                                 << "30123456";
        QTest::newRow("abroad") << "12125550100" << 1 << "49"
                                << "89" << DistanceClass::Abroad << "00"
                                << "12125550100"
                                << "+12125550100";
        QTest::newRow("filter keeps written zero") << "49089123456" << 1 << "49"
                                                   << "89" << DistanceClass::LongDistance << ""
                                                   << "0089123456"
                                                   << "0089123456";
        QTest::newRow("country code alone, flag on") << "49" << 1 << "49"
                                                     << "89" << DistanceClass::LongDistance << ""
                                                     << "0"
                                                     << "0";
        QTest::newRow("country code alone, flag off") << "49" << 0 << "49"
                                                      << "89" << DistanceClass::LongDistance << ""
                                                      << ""
                                                      << "";
        QTest::newRow("area code alone") << "4989" << 1 << "49"
                                         << "89" << DistanceClass::Local << ""
                                         << ""
                                         << "";
        QTest::newRow("empty country makes abroad") << "4989123456" << 1 << ""
                                                    << "89" << DistanceClass::Abroad << "00"
                                                    << "4989123456"
                                                    << "+4989123456";
        QTest::newRow("empty area makes no local") << "4989123456" << 1 << "49"
                                                   << "" << DistanceClass::LongDistance << ""
                                                   << "089123456"
                                                   << "089123456";
        QTest::newRow("zeros stripped once") << "00123" << 1 << "49"
                                             << "89" << DistanceClass::Abroad << "00"
                                             << "00123"
                                             << "+00123";
        QTest::newRow("empty number") << "" << 1 << "49"
                                      << "89" << DistanceClass::Abroad << "00"
                                      << ""
                                      << "+";
        QTest::newRow("any nonzero flag is on") << "4930123456" << -1 << "49"
                                                << "89" << DistanceClass::LongDistance << ""
                                                << "030123456"
                                                << "030123456";
        QTest::newRow("pauses travel along") << "4989,,12" << 1 << "49"
                                             << "89" << DistanceClass::Local << ""
                                             << ",,12"
                                             << ",,12";
    }
    void prepareNumber()
    {
        QFETCH(QString, number);
        QFETCH(int, zeroFlag);
        QFETCH(QString, country);
        QFETCH(QString, area);
        QFETCH(DistanceClass, distance);
        QFETCH(QString, prefix);
        QFETCH(QString, dialNumber);
        QFETCH(QString, display);
        const CountingClock clock(at(0, 12));
        ProviderTable providers; // off: must not be consulted even though it has a fitting row
        providers.addProviderRow("p", "01013", 1, 1, 0, 24, 1, 1, 1);
        const PreparedNumber p =
            quirlanto::prepareNumber(number, zeroFlag, settingsWith(country, area), &providers, clock);
        QCOMPARE(p.distance, distance);
        QCOMPARE(p.dialPrefix, prefix);
        QCOMPARE(p.number, dialNumber);
        QCOMPARE(p.displayNumber, display);
        QCOMPARE(clock.reads, 0);
    }

    void internationalPrefixFromSettings()
    {
        const FixedClock clock(at(0, 12));
        const PreparedNumber p =
            quirlanto::prepareNumber("4312345", 1, settingsWith("49", "89", "011"), nullptr, clock);
        QCOMPARE(p.dialPrefix, QStringLiteral("011"));
        QCOMPARE(p.displayNumber, QStringLiteral("+4312345"));
    }

    void providerPrefix_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("prefix");
        // Rows: 01013 every day 0-24 long distance and abroad; 01088 weekend only, local;
        // 01070 weekdays 18-24 local.
        QTest::newRow("long distance") << "4930123456" << at(0, 12) << "01013";
        QTest::newRow("abroad keeps international prefix after") << "12125550100" << at(0, 12) << "0101300";
        QTest::newRow("local on Monday before 18") << "4989123456" << at(0, 17, 59) << "";
        QTest::newRow("local on Monday at 18") << "4989123456" << at(0, 18) << "01070";
        QTest::newRow("local on Friday evening") << "4989123456" << at(4, 23, 59) << "01070";
        QTest::newRow("local on Saturday") << "4989123456" << at(5, 3) << "01088";
        QTest::newRow("local on Sunday") << "4989123456" << at(6, 20) << "01088";
        QTest::newRow("local on next Monday morning") << "4989123456" << at(7, 0) << "";
    }
    void providerPrefix()
    {
        QFETCH(QString, number);
        QFETCH(QDateTime, when);
        QFETCH(QString, prefix);
        ProviderTable providers;
        providers.providersEnabled = true;
        providers.addProviderRow("Fern", "01013", 1, 1, 0, 24, 0, 1, 1);
        providers.addProviderRow("Wochenende", "01088", 0, 1, 0, 24, 1, 0, 0);
        providers.addProviderRow("Abend", "01070", 1, 0, 18, 24, 1, 0, 0);
        const CountingClock clock(when);
        const PreparedNumber p = quirlanto::prepareNumber(number, 1, settingsWith("49", "89"), &providers, clock);
        QCOMPARE(p.dialPrefix, prefix);
        QCOMPARE(clock.reads, 1);
    }

    void noTableMeansNoProvider()
    {
        const CountingClock clock(at(0, 12));
        const PreparedNumber p = quirlanto::prepareNumber("4930123456", 1, settingsWith("49", "89"), nullptr, clock);
        QCOMPARE(p.dialPrefix, QString());
        QCOMPARE(clock.reads, 0);
    }
};

QTEST_GUILESS_MAIN(TestNumberPreparation)
#include "tst_numberpreparation.moc"
