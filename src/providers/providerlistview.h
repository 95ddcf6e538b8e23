#pragma once

#include <QTreeView>

namespace quirlanto {

// The report-style provider list. It only reports what the user did; the
// controller decides what happens.
class ProviderListView : public QTreeView {
    Q_OBJECT
public:
    explicit ProviderListView(QWidget *parent = nullptr);

    // 1-based position of the first selected row, 0 without a selection.
    int firstSelectedPosition() const;
    void selectPosition(int position);
    // Column widths from twips at this screen's logical DPI.
    void applyColumnWidths();

signals:
    void menuRequested(const QPoint &globalPos);
    void activated();       // double-click anywhere, or Enter
    void insertRequested(); // Insert key
    void deleteRequested(); // Delete key

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace quirlanto
