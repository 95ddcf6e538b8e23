#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace quirlanto {

// One card's name list over the register's item texts: the list shows the entry's name,
// the item text stays the data behind it (Qt::UserRole).
class NameListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int ItemTextRole = Qt::UserRole;

    // `items` is owned by the register and must outlive the model.
    explicit NameListModel(QStringList *items, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    QString itemText(int row) const { return m_items->at(row); }

    void appendItem(const QString &itemText);
    void removeItem(int row);
    // Call after the items were replaced from outside (a freshly loaded register).
    void reload();

private:
    QStringList *m_items;
};

} // namespace quirlanto
