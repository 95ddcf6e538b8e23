#pragma once

#include "register/phoneentry.h"

#include <QListView>

namespace quirlanto {

class NameListModel;

// A card's name list. It reports what the user asks for; the main window acts on it.
class NameListView final : public QListView {
    Q_OBJECT
public:
    explicit NameListView(QWidget *parent = nullptr);

    void setNameModel(NameListModel *model);
    NameListModel *nameModel() const { return m_model; }

    // Row of the selected item, or -1.
    int selectedRow() const;
    void selectRow(int row);

signals:
    // Double-click, Space or Enter, also with nothing selected.
    void dialRequested();
    // The item the user clicked or moved to.
    void entrySelected(const quirlanto::PhoneEntry &entry);
    // Right button pressed (or the keyboard's menu key); the selection is left alone.
    void menuRequested(const QPoint &globalPos);
    // The focus left for another widget of the program while no modal window is open.
    void focusLeft();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    void reportCurrent();

    NameListModel *m_model = nullptr;
};

} // namespace quirlanto
