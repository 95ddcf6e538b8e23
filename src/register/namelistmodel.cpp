#include "register/namelistmodel.h"

#include "register/phoneentry.h"

namespace quirlanto {

NameListModel::NameListModel(QStringList *items, QObject *parent)
    : QAbstractListModel(parent)
    , m_items(items)
{}

int NameListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items->size());
}

QVariant NameListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_items->size())
        return {};
    const QString &item = m_items->at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return entryName(item);
    case ItemTextRole:
        return item;
    default:
        return {};
    }
}

void NameListModel::appendItem(const QString &itemText)
{
    const int row = int(m_items->size());
    beginInsertRows({}, row, row);
    m_items->append(itemText);
    endInsertRows();
}

void NameListModel::removeItem(int row)
{
    if (row < 0 || row >= m_items->size())
        return;
    beginRemoveRows({}, row, row);
    m_items->removeAt(row);
    endRemoveRows();
}

void NameListModel::reload()
{
    beginResetModel();
    endResetModel();
}

} // namespace quirlanto
