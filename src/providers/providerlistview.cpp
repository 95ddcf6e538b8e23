#include "providers/providerlistview.h"

#include "providers/providerlistmodel.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

namespace quirlanto {

ProviderListView::ProviderListView(QWidget *parent)
    : QTreeView(parent)
{
    setObjectName(QStringLiteral("providerList"));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true); // keeps 32,767 rows cheap to lay out
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setSortingEnabled(false); // header clicks are handled by the controller's own rules

    setToolTip(QStringLiteral("Änderungen über Kontextmenü (rechte Maustaste)"));
    setAccessibleName(QStringLiteral("Provider-Liste"));
    setAccessibleDescription(QStringLiteral("Änderungen über das Kontextmenü: Menütaste oder Umschalt+F10"));

    QHeaderView *head = header();
    head->setSectionsClickable(true);
    head->setSectionsMovable(false);
    head->setSortIndicatorShown(true);
    head->setStretchLastSection(true);
    head->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

int ProviderListView::selectedRow() const
{
    if (!selectionModel())
        return -1;
    int first = -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    for (const QModelIndex &index : rows) {
        if (first < 0 || index.row() < first)
            first = index.row();
    }
    return first;
}

void ProviderListView::selectRow(int row)
{
    if (!model() || !selectionModel())
        return;
    if (row < 0 || row >= model()->rowCount()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void ProviderListView::applyColumnWidths()
{
    const int dpi = logicalDpiX();
    for (int c = 0; c < ProviderListModel::kColumns; ++c)
        setColumnWidth(c, ProviderListModel::twipsToPixels(ProviderListModel::kColumnWidthTwips[c], dpi));
}

void ProviderListView::contextMenuEvent(QContextMenuEvent *event)
{
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        // From the menu key: open beside the current row rather than at a stale mouse position.
        const QRect row = visualRect(currentIndex());
        at = viewport()->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint(0, 0));
    }
    emit menuRequested(at);
    event->accept();
}

void ProviderListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit activated();
}

void ProviderListView::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit activated();
            return;
        case Qt::Key_Insert:
            emit insertRequested();
            return;
        case Qt::Key_Delete:
            emit deleteRequested();
            return;
        default:
            break;
        }
    }
    QTreeView::keyPressEvent(event);
}

} // namespace quirlanto
