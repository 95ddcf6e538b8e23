#pragma once

#include "providers/providereditor.h"
#include "providers/providertable.h"
#include "support/safefilewriter.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QCheckBox;
class QMenu;
class QWidget;

namespace quirlanto {

class RegisterDocument;
class ProviderListModel;
class ProviderListView;

// The provider list on the options page: puts the list into `area`, follows the switch,
// sorts on header clicks, runs the context menu "Anbieter" and the editor, and hands every
// change to the register document, which writes the provider file.
class ProviderListController : public QObject {
    Q_OBJECT
public:
    ProviderListController(RegisterDocument &book, QCheckBox *providerSwitch, QWidget *area, QObject *parent = nullptr);

private:
    // The switch and the sort indicator follow the table (after it was loaded).
    void refresh();
    // The header's section, counted from 0.
    void columnClicked(int section);
    void insertCommand();
    void changeCommand();
    void deleteCommand();
    // Fills and shows the editor modally; on OK the row is replaced or added and the file saved.
    void openProviderEditor(const ProviderEditorValues &values, bool newEntry);

    void showMenu(const QPoint &globalPos);
    void listActivated();
    void switchClicked(bool checked);
    void applyEditor(const ProviderEditorValues &values);
    // Reports a failed write; true when the file was written.
    QWidget *dialogParent() const;

    RegisterDocument &m_book;
    QPointer<QCheckBox> m_switch;
    ProviderListModel *m_model = nullptr;
    ProviderListView *m_view = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_insertAction = nullptr;
    QAction *m_changeAction = nullptr;
    QAction *m_deleteAction = nullptr;

    std::optional<ProviderTable::Column> m_lastSortColumn;
    int m_selectedProviderRow = -1;
    bool m_newEntryMode = false;
};

QString providerTableFullMessage();

} // namespace quirlanto
