#include "support/fittingrows.h"

namespace quirlanto {

QSize FittingRowsDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QFontMetrics metrics(item.font);
    // The tallest letters the register holds; the line is centred in the row.
    const QRect ink = metrics.tightBoundingRect(QStringLiteral("ÄÅÉÖÜŠŸÇgjpqy"));
    const int overhang = qMax(0, qMax(-ink.top() - metrics.ascent(), ink.bottom() - metrics.descent()));
    size.setHeight(qMax(size.height(), metrics.height() + 2 * overhang));
    return size;
}

} // namespace quirlanto
