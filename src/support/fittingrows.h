#pragma once

#include <QStyledItemDelegate>

namespace quirlanto {

// Rows as tall as the letters of the font: the style makes them only a line high, and the dots
// and accents of capitals ("Ö", "É") stand above that line in many fonts and were cut off.
class FittingRowsDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace quirlanto
