#pragma once

#include "providers/providerentry.h"

#include <QList>

namespace quirlanto {

// The user's provider rows, always in the order the list shows (sorted by the column
// and direction last chosen), plus the switch. Row positions are 1-based in the API.
class ProviderTable {
public:
    enum Column { NameColumn = 1, PrefixColumn, DayColumn, FromColumn, ToColumn, DistanceColumn };
    static constexpr int kMaxRows = 32767;

    bool providersEnabled = false;
    // The file the table was loaded from is there but could not be read: the table is empty
    // for that reason only, and saving it would destroy the file.
    bool fileUnreadable = false;

    int rowCount() const { return int(m_rows.size()); }
    const ProviderEntry &row(int position) const { return m_rows.at(position - 1); }
    const QList<ProviderEntry> &rows() const { return m_rows; }

    // Trims name and prefix, derives the day class, inserts in sort order (after equal rows).
    // Returns the 1-based position of the new row; 0 (and adds nothing) when the table already
    // holds kMaxRows rows.
    int addProviderRow(const QString &name, const QString &networkPrefix, qint16 weekdayFlag, qint16 weekendFlag,
                       qint16 fromHour, qint16 toHour, qint16 localFlag, qint16 longDistanceFlag, qint16 abroadFlag);
    // The same for a row made already: inserted as it is, in sort order after equal rows.
    int insertSorted(const ProviderEntry &entry);
    void removeProviderRow(int position);
    void clear() { m_rows.clear(); }

    // The row addProviderRow would insert: trimmed texts, day class from the flags, nonzero sets a flag.
    static ProviderEntry makeEntry(const QString &name, const QString &networkPrefix, qint16 weekdayFlag,
                                   qint16 weekendFlag, qint16 fromHour, qint16 toHour, qint16 localFlag,
                                   qint16 longDistanceFlag, qint16 abroadFlag);

    // Appends without sorting; call sortRows() once after a bulk load.
    bool appendUnsorted(const ProviderEntry &entry);

    int sortColumn() const { return m_sortColumn; }
    bool sortAscending() const { return m_ascending; }
    void setSort(int column, bool ascending); // re-sorts (stable)
    void sortRows();

    // The text shown in a column (1..6); sorting compares these texts.
    static QString columnText(const ProviderEntry &e, int column);

private:
    bool lessForSort(const ProviderEntry &a, const ProviderEntry &b) const;

    QList<ProviderEntry> m_rows;
    int m_sortColumn = NameColumn;
    bool m_ascending = true;
};

} // namespace quirlanto
