#pragma once

#include "register/phoneentry.h"

#include <QAbstractListModel>

namespace quirlanto {

class RegisterDocument;

// One card's name list as the view shows it: names only, read from the register on demand.
class NameListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    // `book` must outlive the model.
    NameListModel(const RegisterDocument &book, int card, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    int card() const { return m_card; }
    const PhoneEntry &entry(int row) const;

private:
    const RegisterDocument &m_book;
    int m_card;
};

} // namespace quirlanto
