// Naming a caller in a 10,000-entry register, and opening the window "Anrufliste" over a full
// call list (10,000 calls) up to its first paint, and searching it by name.
// Usage: bench_calls [runs]   (uses $DISPLAY when set, the offscreen platform otherwise)
#include "benchsupport.h"
#include "calls/calllistmodel.h"
#include "calls/calllistwindow.h"
#include "calls/callstore.h"
#include "numbers/internationalform.h"
#include "register/numberindex.h"
#include "register/registerdocument.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

using namespace quirlanto;

namespace {

class FirstPaint : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    QTemporaryDir dir;

    RegisterDocument book(DataPaths::inDirectory(dir.path() + '/'));
    book.loadRegister();
    QList<RegisterDocument::CardEntry> entries;
    for (int i = 0; i < CallStore::kKeptCalls; ++i)
        entries.append(
            {i % kCardCount, {QStringLiteral("Teilnehmer %1").arg(i), QStringLiteral("4989%1").arg(100000 + i), true}});
    book.importEntries(entries);
    NumberIndex index(book);
    const Settings settings = book.settings();
    int found = 0;
    // The first lookup after a change of the register builds the index.
    const double firstMs = bench::medianMs(
        runs, [&] { found += index.find(internationalFromCaller("089109999", settings)).has_value(); },
        [&] { emit book.registerReset(); });
    const double lookupUs =
        1000
        * bench::medianMs(runs,
                          [&] {
                              for (int i = 0; i < 1000; ++i)
                                  found += index
                                               .find(internationalFromCaller(
                                                   QStringLiteral("0891%1").arg(i, 5, 10, QChar(u'0')), settings))
                                               .has_value();
                          })
        / 1000;
    std::printf("caller lookup, 10,000 entries: %.2f us per number, %.2f ms for the first after a change (%d found)\n",
                lookupUs, firstMs, found);

    CallStore store(dir.filePath(kCallListFileName));
    const QDateTime t0(QDate(2026, 1, 1), QTime(8, 0));
    for (int i = 0; i < CallStore::kKeptCalls; ++i)
        store.add({0, t0.addSecs(i * 60), CallRecord::Kind(i % 3), QStringLiteral("4989%1").arg(100000 + i),
                   i % 2 ? QStringLiteral("Teilnehmer %1").arg(i) : QString(),
                   i % 3 ? QString() : QStringLiteral("Modem"), i % 300});
    const double openMs = bench::medianMs(runs, [&] {
        CallListModel model(store, [&] { return settings; });
        model.reload();
        CallListWindow window(model);
        FirstPaint paint;
        window.installEventFilter(&paint);
        window.show();
        while (!paint.painted)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    });
    std::printf("window \"Anrufliste\", %d calls: %.1f ms to the first paint\n", CallStore::kKeptCalls, openMs);

    // Half the rows are named only by the register: a search by name asks it too.
    CallListModel model(store, [&] { return settings; });
    model.setNamedNumbers([&](const QString &folded) {
        return index.numbersWhere([&](const QString &name) { return CallStore::searchFold(name).contains(folded); });
    });
    const double searchMs = bench::medianMs(runs, [&] { model.setFilter(QStringLiteral("teilnehmer 12")); });
    std::printf("search \"teilnehmer 12\" over %d calls and %d register names: %.1f ms to the first rows\n",
                CallStore::kKeptCalls, CallStore::kKeptCalls, searchMs);
    return 0;
}
