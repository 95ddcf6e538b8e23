#include "providers/providerlistmodel.h"

#include "register/registerdocument.h"

#include <QtMath>

namespace quirlanto {

namespace {
const std::array<const char *, ProviderListModel::kColumns> kCaptions = {"Name", "Netz", "Tag", "ab", "bis", "Weite"};
}

ProviderListModel::ProviderListModel(const RegisterDocument &book, QObject *parent)
    : QAbstractTableModel(parent)
    , m_book(book)
{
    connect(&book, &RegisterDocument::providersAboutToBeReset, this, &ProviderListModel::beginResetModel);
    connect(&book, &RegisterDocument::providersReset, this, &ProviderListModel::endResetModel);
    connect(&book, &RegisterDocument::providerAboutToBeRemoved, this,
            [this](int row) { beginRemoveRows({}, row, row); });
    connect(&book, &RegisterDocument::providerRemoved, this, &ProviderListModel::endRemoveRows);
}

const ProviderTable &ProviderListModel::table() const
{
    return m_book.providers();
}

int ProviderListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : table().rowCount();
}

int ProviderListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant ProviderListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= table().rowCount())
        return {};
    return ProviderTable::columnText(table().at(index.row()), ProviderTable::Column(index.column()));
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

int ProviderListModel::twipsToPixels(int twips, int dotsPerInch)
{
    return qRound(twips * qreal(dotsPerInch) / 1440.0);
}

} // namespace quirlanto
