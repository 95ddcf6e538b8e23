// Load and write figures for a register of 10,000 entries.
#include "benchsupport.h"

#include "register/phoneentry.h"
#include "register/registerdocument.h"
#include "register/registerformat.h"

#include <QTemporaryDir>

#include <cstdio>

using namespace quirlanto;

namespace {

using quirlanto::bench::medianMs;

constexpr int kEntries = 10000;
constexpr int kRuns = 9;

RegisterContents generatedRegister()
{
    static const char *const kNames[] = {"Müller",         "Schmidt, Anna", "Bäckerei Groß",     "Dr. Weiß",
                                         "Hotel \"Post\"", "Zahnarzt",      "Meier-Lüdenscheid", "Oma"};
    RegisterContents c;
    quint32 x = 4711;
    auto next = [&x](quint32 n) {
        x = x * 1103515245u + 12345u;
        return (x >> 8) % n;
    };
    for (int i = 0; i < kEntries; ++i) {
        const QString name = QString::fromUtf8(kNames[next(8)]) + QLatin1Char(' ') + QString::number(i);
        const QString number = QStringLiteral("49 89 ") + QString::number(100000 + next(9000000));
        c.cards[next(4)].entries << PhoneEntry{name, number, next(2) != 0};
    }
    return c;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const DataPaths paths = DataPaths::inDirectory(dir.path() + QLatin1Char('/'));
    RegisterContents contents = generatedRegister();
    const WriteResult first = writeRegister(contents, paths);
    if (!first.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(first.error));
        return 1;
    }
    const QByteArray bytes = registerBytes(contents);
    std::printf("register file: %d entries, %lld bytes, median of %d runs\n", kEntries,
                static_cast<long long>(bytes.size()), kRuns);

    RegisterDocument book(paths);
    LoadRegisterOutcome outcome;
    const double load = medianMs(kRuns, [&] { outcome = book.loadRegister(); });
    std::printf("  load (read, parse, sort by name) %7.2f ms  (goal <= 30 ms)\n", load);
    qsizetype loaded = 0;
    for (int card = 0; card < kCardCount; ++card)
        loaded += book.entries(card).size();
    if (outcome.kind != LoadRegisterOutcome::Kind::Loaded || loaded != kEntries)
        std::fprintf(stderr, "  unexpected load result: kind %d, %lld entries\n", int(outcome.kind),
                     static_cast<long long>(loaded));

    // Once written, the file is in name order and loading only checks that.
    book.writeRegister();
    const double loadSorted = medianMs(kRuns, [&] { book.loadRegister(); });
    std::printf("  load, file in name order        %8.2f ms\n", loadSorted);

    const double parse = medianMs(kRuns, [&] { readRegister(bytes, qsizetype(qstrlen(kRegisterHeader)) + 2); });
    std::printf("  parse from memory               %8.2f ms\n", parse);

    const double encode = medianMs(kRuns, [&] { registerBytes(contents); });
    std::printf("  build the file's bytes          %8.2f ms\n", encode);

    const double write = medianMs(kRuns, [&] { writeRegister(contents, paths); });
    std::printf("  write (with sync and backup)    %8.2f ms  (goal <= 30 ms)\n", write);
    return 0;
}
