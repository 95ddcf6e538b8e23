// Cost of preparing a number and building its command line, per call.
#include "benchsupport.h"
#include "dial/modemcommand.h"
#include "dial/numberpreparation.h"
#include "fixedclock.h"
#include "providers/providertable.h"

#include <QElapsedTimer>

#include <cstdio>
#include <vector>

using namespace quirlanto;

namespace {

constexpr int kRuns = 7;

// The worst case for the provider walk: no row fits, so every call passes all rows.
ProviderTable fullTable(bool anyFits)
{
    ProviderTable t;
    t.providersEnabled = true;
    for (int i = 0; i < ProviderTable::kMaxRows; ++i) {
        const bool last = anyFits && i == ProviderTable::kMaxRows - 1;
        t.appendUnsorted(ProviderTable::makeEntry(QStringLiteral("Netz ") + QString::number(i),
                                                  QStringLiteral("010") + QString::number(i % 90 + 10), 1, 1,
                                                  last ? 0 : 3, last ? 24 : 4, 1, 1, 1));
    }
    return t;
}

double nsPerCall(const ProviderTable *providers, const Settings &settings, const Clock &clock, int calls)
{
    static const QString numbers[] = {QStringLiteral("4989123456"), QStringLiteral("4930123456"),
                                      QStringLiteral("12125550100")};
    std::vector<double> ns;
    qsizetype sink = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < calls; ++i) {
            const PreparedNumber p = prepareNumber(numbers[i % 3], 1, settings, providers, clock);
            sink += buildModemCommand(p, settings).size();
        }
        ns.push_back(double(timer.nsecsElapsed()) / calls);
    }
    if (sink == 0)
        std::printf("(nothing built)\n");
    return quirlanto::bench::median(ns);
}

} // namespace

int main()
{
    Settings settings;
    settings.outsideLinePrefix = QStringLiteral("0,");
    settings.handoverEnabled = true;
    settings.handoverNumber = QStringLiteral("22");
    const FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(12, 0)));

    std::printf("prepareNumber + buildModemCommand, median of %d runs\n", kRuns);
    std::printf("  providers off                   %10.0f ns/call\n", nsPerCall(nullptr, settings, clock, 200000));
    ProviderTable empty;
    empty.providersEnabled = true;
    std::printf("  providers on, empty table       %10.0f ns/call\n", nsPerCall(&empty, settings, clock, 200000));
    const ProviderTable lastFits = fullTable(true);
    std::printf("  providers on, 32767 rows, last row fits %6.0f ns/call\n",
                nsPerCall(&lastFits, settings, clock, 2000));
    const ProviderTable noneFits = fullTable(false);
    std::printf("  providers on, 32767 rows, none fits     %6.0f ns/call\n",
                nsPerCall(&noneFits, settings, clock, 2000));
    return 0;
}
