#pragma once

#include "providers/providertable.h"

#include <QAbstractTableModel>
#include <array>

namespace quirlanto {

class RegisterDocument;

// The register document's provider table as the list shows it. Rows are read from the table on
// demand, never copied, so tens of thousands of rows cost nothing until they are painted.
class ProviderListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = ProviderTable::kColumnCount;
    // Column widths of the list in twips (1/1440 inch), converted at the screen's DPI.
    static constexpr std::array<int, kColumns> kColumnWidthTwips = {1175, 979, 1058, 979, 979, 979};

    // `book` must outlive the model.
    explicit ProviderListModel(const RegisterDocument &book, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static int twipsToPixels(int twips, int dotsPerInch);

private:
    const ProviderTable &table() const;

    const RegisterDocument &m_book;
};

} // namespace quirlanto
