#pragma once

#include "providers/providertable.h"

#include <QAbstractTableModel>

namespace quirlanto {

// The provider table as the list shows it. Rows are read from the table on demand, never
// copied, so tens of thousands of rows cost nothing until they are painted. Every change to
// the table goes through here so that attached views stay in step.
class ProviderListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 6;
    // Column widths of the list in twips (1/1440 inch), converted at the screen's DPI.
    static constexpr int kColumnWidthTwips[kColumns] = {1175, 979, 1058, 979, 979, 979};

    explicit ProviderListModel(ProviderTable &table, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // column is 1..6 as in ProviderTable::Column.
    void setSort(int column, bool ascending);
    // Returns the 1-based position the new row got, 0 when the table is full.
    int addProviderRow(const QString &name, const QString &networkPrefix, qint16 weekdayFlag, qint16 weekendFlag,
                       qint16 fromHour, qint16 toHour, qint16 localFlag, qint16 longDistanceFlag, qint16 abroadFlag);
    void removeProviderRow(int position);
    // The table was filled or changed behind the model's back (start-up load).
    void reload();

    static int twipsToPixels(int twips, int dotsPerInch);

private:
    ProviderTable &m_table;
};

} // namespace quirlanto
