#pragma once

#include "providers/providertable.h"

#include <QElapsedTimer>
#include <algorithm>
#include <functional>
#include <vector>

namespace quirlanto::bench {

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// A full provider table of made-up rows, the same for the same seed; unsorted.
inline void fillRandomProviders(ProviderTable &table, quint32 seed)
{
    static const char *const kNames[] = {"Telenetz",  "Ärztefunk", "billig, schnell", "Nachtnetz",
                                         "Fernlinie", "Weltweit",  "Ortsnetz",        "Zentrale"};
    auto next = [&seed](quint32 n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    table.clear();
    for (int i = 0; i < ProviderTable::kMaxRows; ++i) {
        table.appendUnsorted(ProviderTable::makeEntry(
            QString::fromUtf8(kNames[next(8)]) + QLatin1Char(' ') + QString::number(next(100000)),
            QStringLiteral("010") + QString::number(10 + next(90)), qint16(next(2)), qint16(next(2)), qint16(next(12)),
            qint16(12 + next(13)), qint16(next(2)), qint16(next(2)), qint16(next(2))));
    }
}

// Median wall time in ms of `runs` calls of work; prepare runs untimed before each.
inline double medianMs(int runs, const std::function<void()> &work, const std::function<void()> &prepare = {})
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return median(ms);
}

} // namespace quirlanto::bench
