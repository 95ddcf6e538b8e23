#include "providers/providerlistmodel.h"

#include <QtMath>

namespace quirlanto {

namespace {
const char *const kCaptions[ProviderListModel::kColumns] = {"Name", "Netz", "Tag", "ab", "bis", "Weite"};
}

ProviderListModel::ProviderListModel(ProviderTable &table, QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(table)
{}

int ProviderListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_table.rowCount();
}

int ProviderListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant ProviderListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_table.rowCount())
        return {};
    return ProviderTable::columnText(m_table.row(index.row() + 1), index.column() + 1);
}

QVariant ProviderListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kCaptions[section]);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void ProviderListModel::setSort(int column, bool ascending)
{
    // A reset is cheaper than reporting a permutation of every row.
    beginResetModel();
    m_table.setSort(column, ascending);
    endResetModel();
}

int ProviderListModel::addProviderRow(const QString &name, const QString &networkPrefix, qint16 weekdayFlag,
                                      qint16 weekendFlag, qint16 fromHour, qint16 toHour, qint16 localFlag,
                                      qint16 longDistanceFlag, qint16 abroadFlag)
{
    // A refused row must not reset the view.
    if (m_table.rowCount() >= ProviderTable::kMaxRows)
        return 0;
    beginResetModel();
    const int position = m_table.addProviderRow(name, networkPrefix, weekdayFlag, weekendFlag, fromHour, toHour,
                                                localFlag, longDistanceFlag, abroadFlag);
    endResetModel();
    return position;
}

void ProviderListModel::removeProviderRow(int position)
{
    if (position < 1 || position > m_table.rowCount())
        return;
    beginRemoveRows({}, position - 1, position - 1);
    m_table.removeProviderRow(position);
    endRemoveRows();
}

void ProviderListModel::reload()
{
    beginResetModel();
    endResetModel();
}

int ProviderListModel::twipsToPixels(int twips, int dotsPerInch)
{
    return qRound(twips * qreal(dotsPerInch) / 1440.0);
}

} // namespace quirlanto
