#pragma once

#include <QTreeView>

namespace quirlanto {

// The report-style provider list. It only reports what the user did; the
// controller decides what happens.
class ProviderListView : public QTreeView {
    Q_OBJECT
public:
    explicit ProviderListView(QWidget *parent = nullptr);

    // The first selected row, -1 without a selection.
    int selectedRow() const;
    // Selects `row`; a row that is not there clears the selection.
    void selectRow(int row);
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
