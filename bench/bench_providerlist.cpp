// Sorting a full provider table (32,767 rows) by each column through the list's header
// rules, and loading it into the shown list. Prints median milliseconds; goal <= 150 ms each.
#include "benchsupport.h"

#include "providers/providerlistcontroller.h"
#include "providers/providerlistmodel.h"
#include "providers/providerlistview.h"
#include "providers/providertable.h"
#include "register/registerdocument.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace quirlanto;

namespace {

constexpr int kRuns = 7;

// Untimed preparation first, then the timed work.
double medianMs(const std::function<void()> &prepare, const std::function<void()> &work)
{
    return quirlanto::bench::medianMs(kRuns, work, prepare);
}

void fill(ProviderTable &t)
{
    quirlanto::bench::fillRandomProviders(t, 4711);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;

    ProviderTable table;
    RegisterDocument book(DataPaths{QString(), QString(), dir.filePath(QStringLiteral("Provider.ini")),
                                    dir.filePath(QStringLiteral("Provider.bak"))});
    QWidget page;
    auto *layout = new QVBoxLayout(&page);
    auto *providerSwitch = new QCheckBox(QStringLiteral("&Call-by-Call Provider-Liste"), &page);
    auto *area = new QWidget(&page);
    layout->addWidget(providerSwitch);
    layout->addWidget(area);
    ProviderListController list(book, providerSwitch, area);
    auto *view = area->findChild<ProviderListView *>(QStringLiteral("providerList"));
    // A header click, as the user makes it.
    const auto clickColumn = [view](int column) { emit view->header()->sectionClicked(column); };
    page.resize(520, 320);
    page.show();
    QApplication::processEvents();

    // Shown and painted: the work a user waits for after a click.
    auto settle = [&] {
        view->viewport()->repaint();
        view->header()->viewport()->repaint();
        QApplication::processEvents();
    };

    std::printf("provider list, %d rows, median of %d runs (goal <= 150 ms each)\n", ProviderTable::kMaxRows, kRuns);
    const double load = medianMs([&] { fill(table); },
                                 [&] {
                                     book.setProviders(table);
                                     settle();
                                 });
    std::printf("  load into the list           %8.2f ms\n", load);

    const char *const captions[] = {"Name", "Netz", "Tag", "ab", "bis", "Weite"};
    for (int column = 0; column < ProviderTable::kColumnCount; ++column) {
        // Each run starts from the same shuffled order, sorted by another column.
        const int other = column == 0 ? 1 : 0;
        const double first = medianMs(
            [&] {
                fill(table);
                table.setSort(ProviderTable::Column(other), true);
                book.setProviders(table);
                clickColumn(other);
                settle();
            },
            [&] {
                clickColumn(column);
                settle();
            });
        const double reverse = medianMs(
            [&] {
                clickColumn(other);
                clickColumn(column);
                settle();
            },
            [&] {
                clickColumn(column);
                settle();
            });
        std::printf("  sort by %-6s first click %8.2f ms, same header again %8.2f ms\n", captions[column], first,
                    reverse);
    }
    return 0;
}
