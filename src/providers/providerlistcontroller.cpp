#include "providers/providerlistcontroller.h"

#include "providers/providerfile.h"
#include "providers/providerlistmodel.h"
#include "providers/providerlistview.h"
#include "providers/providertable.h"
#include "register/registerdocument.h"
#include "support/messagebox.h"
#include "support/textfields.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QMenu>
#include <QVBoxLayout>

namespace quirlanto {

namespace {

// Text of the delete question for a row.
QString providerDeleteQuestion(const QString &name, const QString &networkPrefix)
{
    return QStringLiteral("Soll der folgende Eintrag wirklich gelöscht werden?\n\n") + name + QStringLiteral(" (")
           + networkPrefix + QLatin1Char(')');
}

} // namespace

QString providerTableFullMessage()
{
    return QStringLiteral("Die Anbieterliste ist voll: Sie kann höchstens %1 Einträge aufnehmen.\n\n"
                          "Bitte löschen Sie zuerst einen Eintrag, den Sie nicht mehr brauchen.")
        .arg(QLocale(QLocale::German).toString(ProviderTable::kMaxRows));
}

ProviderListController::ProviderListController(RegisterDocument &book, QCheckBox *providerSwitch, QWidget *area,
                                               QObject *parent)
    : QObject(parent)
    , m_book(book)
    , m_switch(providerSwitch)
{
    m_model = new ProviderListModel(book, this);
    m_view = new ProviderListView(area);
    m_view->setModel(m_model);
    m_view->applyColumnWidths();
    if (area) {
        if (!area->layout()) {
            auto *layout = new QVBoxLayout(area);
            layout->setContentsMargins(0, 0, 0, 0);
        }
        area->layout()->addWidget(m_view);
    }

    connect(m_view->header(), &QHeaderView::sectionClicked, this, &ProviderListController::columnClicked);
    connect(m_view, &ProviderListView::menuRequested, this, &ProviderListController::showMenu);
    connect(m_view, &ProviderListView::activated, this, &ProviderListController::listActivated);
    connect(m_view, &ProviderListView::insertRequested, this, &ProviderListController::insertCommand);
    connect(m_view, &ProviderListView::deleteRequested, this, [this] {
        m_selectedProviderRow = m_view->selectedRow();
        deleteCommand();
    });

    m_menu = new QMenu(QStringLiteral("Anbieter"), m_view);
    m_menu->setObjectName(QStringLiteral("providerMenu"));
    const auto add = [this](const QString &text, const char *name) {
        QAction *action = m_menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    m_insertAction = add(QStringLiteral("&Einfügen"), "insertAction");
    m_changeAction = add(QStringLiteral("&Ändern"), "changeAction");
    m_deleteAction = add(QStringLiteral("&Löschen"), "deleteAction");
    m_menu->addSeparator();
    m_menu->setDefaultAction(add(QStringLiteral("&Abbrechen"), "cancelAction"));
    connect(m_insertAction, &QAction::triggered, this, &ProviderListController::insertCommand);
    connect(m_changeAction, &QAction::triggered, this, &ProviderListController::changeCommand);
    connect(m_deleteAction, &QAction::triggered, this, &ProviderListController::deleteCommand);

    if (m_switch) {
        connect(m_switch, &QCheckBox::clicked, this, &ProviderListController::switchClicked);
        QWidget::setTabOrder(m_switch, m_view);
    }
    connect(&book, &RegisterDocument::providersReset, this, &ProviderListController::refresh);
    refresh();
}

void ProviderListController::refresh()
{
    const ProviderTable &table = m_book.providers();
    if (m_switch)
        m_switch->setChecked(table.providersEnabled);
    m_view->header()->setSortIndicator(int(table.sortColumn()),
                                       table.sortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void ProviderListController::columnClicked(int section)
{
    if (section < 0 || section >= ProviderTable::kColumnCount)
        return;
    const auto column = ProviderTable::Column(section);
    const ProviderTable &table = m_book.providers();
    bool ascending = table.sortAscending();
    if (column == m_lastSortColumn)
        ascending = !ascending;
    else
        m_lastSortColumn = column;

    // Keep the selected row selected: identical rows keep their relative order in a stable
    // sort, so the row is found again as the same occurrence of its values.
    const int selected = m_view->selectedRow();
    ProviderEntry selectedEntry;
    int occurrence = 0;
    if (selected >= 0) {
        selectedEntry = table.at(selected);
        for (int r = 0; r < selected; ++r)
            occurrence += table.at(r) == selectedEntry ? 1 : 0;
    }

    m_book.sortProviders(column, ascending);
    m_view->header()->setSortIndicator(section, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);

    if (selected >= 0) {
        for (int r = 0; r < table.rowCount(); ++r) {
            if (table.at(r) == selectedEntry && occurrence-- == 0) {
                m_view->selectRow(r);
                break;
            }
        }
    }
}

void ProviderListController::showMenu(const QPoint &globalPos)
{
    m_selectedProviderRow = m_view->selectedRow();
    const bool haveRow = m_selectedProviderRow >= 0;
    m_changeAction->setEnabled(haveRow);
    m_deleteAction->setEnabled(haveRow);
    m_menu->exec(globalPos);
}

void ProviderListController::listActivated()
{
    m_selectedProviderRow = m_view->selectedRow();
    if (m_selectedProviderRow >= 0)
        changeCommand();
    else
        insertCommand();
}

void ProviderListController::switchClicked(bool checked)
{
    MessageBoxes::reportWrite(dialogParent(), m_book.setProvidersEnabled(checked));
}

void ProviderListController::insertCommand()
{
    if (m_book.providers().rowCount() >= ProviderTable::kMaxRows) {
        MessageBoxes::show(dialogParent(), MessageIcon::Warning, providerTableFullMessage());
        return;
    }
    openProviderEditor(ProviderEditorValues{}, true);
}

void ProviderListController::changeCommand()
{
    if (m_selectedProviderRow < 0 || m_selectedProviderRow >= m_book.providers().rowCount())
        return;
    const ProviderEntry &row = m_book.providers().at(m_selectedProviderRow);
    ProviderEditorValues values;
    values.name = row.name;
    values.networkPrefix = row.networkPrefix;
    values.dayClass = row.dayClass;
    values.startHour = row.fromHour;
    values.endHour = row.toHour;
    values.local = row.local;
    values.longDistance = row.longDistance;
    values.abroad = row.abroad;
    openProviderEditor(values, false);
}

void ProviderListController::deleteCommand()
{
    if (m_selectedProviderRow < 0 || m_selectedProviderRow >= m_book.providers().rowCount())
        return;
    const ProviderEntry &row = m_book.providers().at(m_selectedProviderRow);
    if (!MessageBoxes::askYesNoTitled(dialogParent(), QStringLiteral("Eintrag löschen"),
                                      providerDeleteQuestion(row.name, row.networkPrefix)))
        return;
    const int removed = m_selectedProviderRow;
    MessageBoxes::reportWrite(dialogParent(), m_book.removeProvider(removed));
    m_view->selectRow(qMin(removed, m_book.providers().rowCount() - 1));
}

void ProviderListController::openProviderEditor(const ProviderEditorValues &values, bool newEntry)
{
    // The mode comes from the command, not from empty texts: a row whose name and prefix
    // are both empty must still be replaced when it is changed.
    m_newEntryMode = newEntry;
    ProviderEditor editor(dialogParent());
    editor.setValues(values);
    if (editor.exec() == QDialog::Accepted)
        applyEditor(editor.values());
}

void ProviderListController::applyEditor(const ProviderEditorValues &values)
{
    std::optional<ProviderEntry> row;
    if (!values.name.isEmpty() && !values.networkPrefix.isEmpty()) {
        const qint16 weekday = values.dayClass == DayClass::Weekdays || values.dayClass == DayClass::Always;
        const qint16 weekend = values.dayClass == DayClass::Weekend || values.dayClass == DayClass::Always;
        // The file has no escape for a double quote; store what the file will hold.
        QString name = values.name;
        QString networkPrefix = values.networkPrefix;
        quotesToApostrophes(name);
        quotesToApostrophes(networkPrefix);
        row = ProviderTable::makeEntry(name, networkPrefix, weekday, weekend, values.startHour, values.endHour,
                                       values.local ? 1 : 0, values.longDistance ? 1 : 0, values.abroad ? 1 : 0);
    }
    const std::optional<int> replaced = m_newEntryMode ? std::nullopt : std::optional<int>(m_selectedProviderRow);
    const RegisterDocument::ProviderChange change = m_book.storeProvider(replaced, row);
    MessageBoxes::reportWrite(dialogParent(), change.write);
    if (change.refused)
        MessageBoxes::show(dialogParent(), MessageIcon::Warning, providerTableFullMessage());
    m_view->selectRow(change.row.value_or(-1));
}

QWidget *ProviderListController::dialogParent() const
{
    return m_view ? m_view->window() : nullptr;
}

} // namespace quirlanto
