#include "providers/providertable.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <numeric>
#include <vector>

namespace quirlanto {

namespace {

// The list is German: umlauts sort beside their base letters and case does not matter.
// Fixed to German rather than the session locale so the row order, and with it the
// provider that wins, does not change with the environment.
const QCollator &listCollator()
{
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::German, QLocale::Germany));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(false);
        return c;
    }();
    return collator;
}

bool validColumn(ProviderTable::Column column)
{
    return int(column) >= 0 && int(column) < ProviderTable::kColumnCount;
}

} // namespace

QString ProviderTable::columnText(const ProviderEntry &e, Column column)
{
    switch (column) {
    case Column::Name:
        return e.name;
    case Column::Prefix:
        return e.networkPrefix;
    case Column::Day:
        return dayClassText(e.dayClass);
    case Column::From:
        return hourText(e.fromHour);
    case Column::To:
        return hourText(e.toHour);
    case Column::Distance:
        return distanceText(e);
    }
    return {};
}

bool ProviderTable::lessForSort(const ProviderEntry &a, const ProviderEntry &b) const
{
    const int c = listCollator().compare(columnText(a, m_sortColumn), columnText(b, m_sortColumn));
    return m_ascending ? c < 0 : c > 0;
}

ProviderEntry ProviderTable::makeEntry(const QString &name, const QString &networkPrefix, qint16 weekdayFlag,
                                       qint16 weekendFlag, qint16 fromHour, qint16 toHour, qint16 localFlag,
                                       qint16 longDistanceFlag, qint16 abroadFlag)
{
    ProviderEntry e;
    e.name = name.trimmed();
    e.networkPrefix = networkPrefix.trimmed();
    e.dayClass = dayClassFromFlags(weekdayFlag, weekendFlag);
    e.fromHour = fromHour;
    e.toHour = toHour;
    e.local = localFlag != 0;
    e.longDistance = longDistanceFlag != 0;
    e.abroad = abroadFlag != 0;
    return e;
}

std::optional<int> ProviderTable::addProviderRow(const QString &name, const QString &networkPrefix, qint16 weekdayFlag,
                                                 qint16 weekendFlag, qint16 fromHour, qint16 toHour, qint16 localFlag,
                                                 qint16 longDistanceFlag, qint16 abroadFlag)
{
    return insertSorted(makeEntry(name, networkPrefix, weekdayFlag, weekendFlag, fromHour, toHour, localFlag,
                                  longDistanceFlag, abroadFlag));
}

std::optional<int> ProviderTable::insertSorted(const ProviderEntry &e)
{
    if (rowCount() >= kMaxRows)
        return std::nullopt;
    // After all rows that sort equal: the place a stable re-sort of the appended row gives.
    const auto at =
        std::upper_bound(m_rows.begin(), m_rows.end(), e,
                         [this](const ProviderEntry &x, const ProviderEntry &y) { return lessForSort(x, y); });
    const qsizetype index = at - m_rows.begin();
    m_rows.insert(index, e);
    return int(index);
}

void ProviderTable::removeAt(int row)
{
    if (row >= 0 && row < rowCount())
        m_rows.removeAt(row);
}

bool ProviderTable::appendUnsorted(const ProviderEntry &entry)
{
    if (rowCount() >= kMaxRows)
        return false;
    m_rows.append(entry);
    return true;
}

void ProviderTable::setSort(Column column, bool ascending)
{
    if (validColumn(column))
        m_sortColumn = column;
    m_ascending = ascending;
    sortRows();
}

void ProviderTable::sortRows()
{
    if (m_rows.size() < 2)
        return;
    // One collation key per row instead of one per comparison: a full table sorts in a few ms.
    const QCollator &collator = listCollator();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(m_rows.size()));
    for (const ProviderEntry &e : std::as_const(m_rows))
        keys.push_back(collator.sortKey(columnText(e, m_sortColumn)));

    std::vector<int> order(size_t(m_rows.size()));
    std::iota(order.begin(), order.end(), 0);
    const bool ascending = m_ascending;
    std::stable_sort(order.begin(), order.end(), [&keys, ascending](int a, int b) {
        const int c = keys[size_t(a)].compare(keys[size_t(b)]);
        return ascending ? c < 0 : c > 0;
    });

    QList<ProviderEntry> sorted;
    sorted.reserve(m_rows.size());
    for (int i : order)
        sorted.append(std::move(m_rows[i]));
    m_rows = std::move(sorted);
}

} // namespace quirlanto
