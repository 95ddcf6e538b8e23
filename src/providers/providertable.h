#pragma once

#include "providers/providerentry.h"

#include <QList>
#include <optional>

namespace quirlanto {

// The user's provider rows, always in the order the list shows (sorted by the column
// and direction last chosen), plus the switch. Rows are counted from 0.
class ProviderTable {
public:
    // The list's columns, in the order it shows them.
    enum class Column { Name, Prefix, Day, From, To, Distance };
    static constexpr int kColumnCount = 6;
    static constexpr int kMaxRows = 32767;

    bool providersEnabled = false;
    // The file the table was loaded from is there but could not be read: the table is empty
    // for that reason only, and saving it would destroy the file.
    bool fileUnreadable = false;

    int rowCount() const { return int(m_rows.size()); }
    const ProviderEntry &at(int row) const { return m_rows.at(row); }
    const QList<ProviderEntry> &rows() const { return m_rows; }

    // Trims name and prefix, derives the day class, inserts in sort order (after equal rows).
    // Returns the new row; none (and adds nothing) when the table already holds kMaxRows rows.
    std::optional<int> addProviderRow(const QString &name, const QString &networkPrefix, qint16 weekdayFlag,
                                      qint16 weekendFlag, qint16 fromHour, qint16 toHour, qint16 localFlag,
                                      qint16 longDistanceFlag, qint16 abroadFlag);
    // The same for a row made already: inserted as it is, in sort order after equal rows.
    std::optional<int> insertSorted(const ProviderEntry &entry);
    void removeAt(int row);
    void clear() { m_rows.clear(); }

    // The row addProviderRow would insert: trimmed texts, day class from the flags, nonzero sets a flag.
    static ProviderEntry makeEntry(const QString &name, const QString &networkPrefix, qint16 weekdayFlag,
                                   qint16 weekendFlag, qint16 fromHour, qint16 toHour, qint16 localFlag,
                                   qint16 longDistanceFlag, qint16 abroadFlag);

    // Appends without sorting; call sortRows() once after a bulk load.
    bool appendUnsorted(const ProviderEntry &entry);

    Column sortColumn() const { return m_sortColumn; }
    bool sortAscending() const { return m_ascending; }
    void setSort(Column column, bool ascending); // re-sorts (stable)
    void sortRows();

    // The text shown in a column; sorting compares these texts.
    static QString columnText(const ProviderEntry &e, Column column);

private:
    bool lessForSort(const ProviderEntry &a, const ProviderEntry &b) const;

    QList<ProviderEntry> m_rows;
    Column m_sortColumn = Column::Name;
    bool m_ascending = true;
};

} // namespace quirlanto
