#include "register/namelistmodel.h"

#include "register/registerdocument.h"

namespace quirlanto {

NameListModel::NameListModel(const RegisterDocument &book, int card, QObject *parent)
    : QAbstractListModel(parent)
    , m_book(book)
    , m_card(card)
{
    const auto mine = [this](int card) { return card == m_card; };
    connect(&book, &RegisterDocument::registerReset, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&book, &RegisterDocument::cardAboutToBeReset, this, [this, mine](int card) {
        if (mine(card))
            beginResetModel();
    });
    connect(&book, &RegisterDocument::cardReset, this, [this, mine](int card) {
        if (mine(card))
            endResetModel();
    });
    connect(&book, &RegisterDocument::entryAboutToBeInserted, this, [this, mine](int card, int row) {
        if (mine(card))
            beginInsertRows({}, row, row);
    });
    connect(&book, &RegisterDocument::entryInserted, this, [this, mine](int card) {
        if (mine(card))
            endInsertRows();
    });
    connect(&book, &RegisterDocument::entryAboutToBeRemoved, this, [this, mine](int card, int row) {
        if (mine(card))
            beginRemoveRows({}, row, row);
    });
    connect(&book, &RegisterDocument::entryRemoved, this, [this, mine](int card) {
        if (mine(card))
            endRemoveRows();
    });
}

int NameListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_book.entries(m_card).size());
}

QVariant NameListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return entry(index.row()).name;
}

const PhoneEntry &NameListModel::entry(int row) const
{
    return m_book.entries(m_card).at(row);
}

} // namespace quirlanto
