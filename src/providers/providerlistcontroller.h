#pragma once

#include "providers/providereditor.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QCheckBox;
class QMenu;
class QWidget;

namespace quirlanto {

class ProviderListModel;
class ProviderListView;
class ProviderTable;

// The provider list on the options page: puts the list into `area`, follows the switch,
// sorts on header clicks, runs the context menu "Anbieter" and the editor, and saves the
// provider file after every change.
class ProviderListController : public QObject {
    Q_OBJECT
public:
    ProviderListController(ProviderTable &table, const QString &filePath, const QString &backupPath,
                           QCheckBox *providerSwitch, QWidget *area, QObject *parent = nullptr);

    ProviderListView *view() const { return m_view; }
    ProviderListModel *model() const { return m_model; }

    // The start-up may settle the program folder only when it loads the files.
    void setFilePaths(const QString &filePath, const QString &backupPath);

    // After the table was filled elsewhere (start-up load): switch and rows follow it.
    void refresh();

    // 1-based column, as a header click gives it.
    void columnClicked(int column);
    int lastSortColumn() const { return m_lastSortColumn; }
    int selectedProviderRow() const { return m_selectedProviderRow; }
    bool newEntryMode() const { return m_newEntryMode; }

    void insertCommand();
    void changeCommand();
    void deleteCommand();

    // Fills and shows the editor modally; on OK the row is replaced or added and the file saved.
    void openProviderEditor(const ProviderEditorValues &values, bool newEntry);

    bool saveProviders();

private:
    void showMenu(const QPoint &globalPos);
    void listActivated();
    void switchClicked(bool checked);
    void applyEditor(const ProviderEditorValues &values);
    QWidget *dialogParent() const;

    ProviderTable &m_table;
    QString m_filePath;
    QString m_backupPath;
    QPointer<QCheckBox> m_switch;
    ProviderListModel *m_model = nullptr;
    ProviderListView *m_view = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_pum3[5] = {};

    int m_lastSortColumn = 0;
    int m_selectedProviderRow = 0;
    bool m_newEntryMode = false;
};

// Text of the delete question for a row.
QString providerDeleteQuestion(const QString &name, const QString &networkPrefix);
QString providerTableFullMessage();

} // namespace quirlanto
