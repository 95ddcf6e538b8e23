// Load, save and sort figures for a full provider table (32,767 rows).
#include "benchsupport.h"

#include "providers/providerfile.h"

#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

using namespace quirlanto;

namespace {

using quirlanto::bench::medianMs;

constexpr int kRuns = 7;

ProviderTable generatedTable()
{
    ProviderTable t;
    quirlanto::bench::fillRandomProviders(t, 12345);
    t.providersEnabled = true;
    t.sortRows();
    return t;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Provider.ini"));
    const QString bak = dir.filePath(QStringLiteral("Provider.bak"));
    const ProviderTable table = generatedTable();
    if (!saveProviderFile(table, ini, bak).ok) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(ini));
        return 1;
    }
    const QByteArray bytes = providerBytes(table);
    std::printf("provider file: %d rows, %lld bytes, median of %d runs\n", table.rowCount(),
                static_cast<long long>(bytes.size()), kRuns);

    ProviderTable loaded;
    const double load = medianMs(kRuns, [&] { loadProviderFile(ini, loaded); });
    std::printf("  load (read file, parse, sort)   %8.2f ms  (goal <= 150 ms)\n", load);
    if (loaded.rowCount() != table.rowCount())
        std::fprintf(stderr, "  loaded %d rows\n", loaded.rowCount());

    const double parse = medianMs(kRuns, [&] { readProviders(bytes, loaded); });
    std::printf("  parse and sort from memory      %8.2f ms\n", parse);

    const double save = medianMs(kRuns, [&] { saveProviderFile(table, ini, bak); });
    std::printf("  save (with backup rotation)     %8.2f ms\n", save);

    const char *const columns[] = {"Name", "Netz", "Tag", "ab", "bis", "Weite"};
    for (int column = 0; column < ProviderTable::kColumnCount; ++column) {
        ProviderTable t = table;
        bool ascending = false;
        const double ms = medianMs(kRuns, [&] {
            ascending = !ascending;
            t.setSort(ProviderTable::Column(column), ascending);
        });
        std::printf("  sort by \"%s\"%*s %8.2f ms\n", columns[column], int(20 - std::strlen(columns[column])), "", ms);
    }

    // Damaged files make the reader pick up again at every line: that must stay linear.
    QByteArray badLines = "1\r\n";
    while (badLines.size() < 10 * 1024 * 1024)
        badLines += "\"Netz\",\"01013\",x,1,0,24,1,1,1\r\n";
    ProviderTable damaged;
    const double bad = medianMs(3, [&] { readProviders(badLines, damaged); });
    std::printf("  parse 10 MB of bad lines        %8.2f ms  (%lld lines)\n", bad,
                static_cast<long long>(badLines.count('\n') - 1));

    ProviderTable t = table;
    const double add = medianMs(kRuns, [&] {
        t.addProviderRow(QStringLiteral("Neu"), QStringLiteral("01099"), 1, 1, 0, 24, 1, 1, 1);
        t.removeAt(t.rowCount() - 1);
    });
    std::printf("  add + remove one row (full)     %8.3f ms\n", add);
    return 0;
}
