#include "register/namelistview.h"

#include "register/namelistmodel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace quirlanto {

NameListView::NameListView(QWidget *parent)
    : QListView(parent)
{
    // Lays out 10,000 names without measuring each one.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideRight);
    setToolTip(QStringLiteral("Klick links: Markieren / Doppelklick: Anwahl / Klick rechts: Menü"));
    connect(this, &QAbstractItemView::clicked, this, [this] { reportCurrent(); });
}

void NameListView::setNameModel(NameListModel *model)
{
    m_model = model;
    setModel(model);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { reportCurrent(); });
}

int NameListView::selectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void NameListView::selectRow(int row)
{
    if (!m_model || row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void NameListView::reportCurrent()
{
    const int row = selectedRow();
    if (row >= 0)
        emit entrySelected(m_model->entry(row));
}

void NameListView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) {
            QListView::keyPressEvent(event);
            return;
        }
        event->accept();
        emit dialRequested();
        return;
    default:
        // Letters jump to the first name starting with what was typed.
        QListView::keyPressEvent(event);
    }
}

void NameListView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        // The menu acts on the selection as it was; the right button does not move it.
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
}

void NameListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QListView::mouseDoubleClickEvent(event);
    emit dialRequested();
}

void NameListView::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    QPoint pos = event->globalPos();
    if (event->reason() != QContextMenuEvent::Mouse) {
        const QModelIndex current = currentIndex();
        const QRect rect = current.isValid() ? visualRect(current) : viewport()->rect();
        pos = viewport()->mapToGlobal(rect.center());
    }
    emit menuRequested(pos);
}

void NameListView::focusOutEvent(QFocusEvent *event)
{
    QListView::focusOutEvent(event);
    // A click elsewhere hands the focus to the tab strip; Tab goes on along the window, and
    // switching to another program, a popup menu or a message box is no reason to move it.
    switch (event->reason()) {
    case Qt::MouseFocusReason:
    case Qt::OtherFocusReason:
        if (!QApplication::activeModalWidget())
            emit focusLeft();
        break;
    default:
        break;
    }
}

void NameListView::focusInEvent(QFocusEvent *event)
{
    QListView::focusInEvent(event);
    // The view makes the first row current on entry; without a selection that pale mark
    // would look like a chosen name that Enter does not dial.
    if (selectionModel() && !selectionModel()->hasSelection() && currentIndex().isValid())
        selectionModel()->clearCurrentIndex();
}

} // namespace quirlanto
