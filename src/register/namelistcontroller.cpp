#include "register/namelistcontroller.h"

#include "register/entryeditor.h"
#include "register/namelistmodel.h"
#include "register/namelistview.h"
#include "register/registerdocument.h"
#include "register/vcardtransfer.h"
#include "support/messagebox.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>

namespace quirlanto {

NameListController::NameListController(RegisterDocument &book, const std::array<NameListView *, kCardCount> &lists,
                                       QWidget *focusFallback, QWidget *dialogParent)
    : QObject(dialogParent)
    , m_book(book)
    , m_lists(lists)
    , m_focusFallback(focusFallback)
    , m_dialogParent(dialogParent)
{
    m_menu = new QMenu(QStringLiteral("Namensliste"), dialogParent);
    m_menu->setObjectName(QStringLiteral("nameListMenu"));
    QAction *insertAction = m_menu->addAction(QStringLiteral("&Einfügen"));
    m_changeAction = m_menu->addAction(QStringLiteral("&Ändern"));
    m_deleteAction = m_menu->addAction(QStringLiteral("&Löschen"));
    m_undoAction = m_menu->addAction(QStringLiteral("&Rückgängig"));
    m_undoAction->setShortcut(QKeySequence::Undo);
    m_undoAction->setShortcutContext(Qt::WindowShortcut); // a text field in focus takes it for itself
    m_undoAction->setShortcutVisibleInContextMenu(false);
    m_undoAction->setEnabled(book.canUndo());
    dialogParent->addAction(m_undoAction);
    connect(&book, &RegisterDocument::undoAvailableChanged, m_undoAction, &QAction::setEnabled);
    connect(m_undoAction, &QAction::triggered, this, &NameListController::undo);
    m_menu->addSeparator();
    QAction *importAction = m_menu->addAction(QStringLiteral("&Importieren …"));
    QAction *exportAction = m_menu->addAction(QStringLiteral("E&xportieren …"));
    QAction *searchAction = m_menu->addAction(QStringLiteral("&Suchen"));
    searchAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    searchAction->setShortcutContext(Qt::WindowShortcut);
    searchAction->setShortcutVisibleInContextMenu(false);
    dialogParent->addAction(searchAction);
    connect(searchAction, &QAction::triggered, this, &NameListController::searchRequested, Qt::QueuedConnection);
    m_menu->addSeparator();
    m_menu->setDefaultAction(m_menu->addAction(QStringLiteral("&Abbrechen")));
    // The same commands from the keyboard, on whichever list has the focus.
    const std::pair<QAction *, QKeySequence> keys[] = {{insertAction, QKeySequence(Qt::Key_Insert)},
                                                       {m_changeAction, QKeySequence(Qt::Key_F2)},
                                                       {m_deleteAction, QKeySequence(QKeySequence::Delete)}};
    for (const auto &[action, key] : keys) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(false); // key names would show in English
        for (NameListView *list : m_lists)
            list->addAction(action);
    }
    connect(insertAction, &QAction::triggered, this, [this] { editEntry({QString(), QString(), true}, true); });
    connect(m_changeAction, &QAction::triggered, this, [this] {
        if (const auto entry = selectedEntry())
            editEntry(*entry, false);
    });
    connect(m_deleteAction, &QAction::triggered, this, &NameListController::deleteSelectedEntry);
    // Queued: the status text comes after the menu's own hint.
    connect(importAction, &QAction::triggered, this, &NameListController::importVCards, Qt::QueuedConnection);
    connect(exportAction, &QAction::triggered, this, &NameListController::exportVCards, Qt::QueuedConnection);

    for (int card = 0; card < kCardCount; ++card) {
        connect(m_lists[card], &NameListView::menuRequested, this,
                [this, card](const QPoint &pos) { showMenu(card, pos); });
        connect(m_lists[card], &NameListView::focusLeft, this, [this, list = m_lists[card]] { focusLeft(list); });
    }
}

void NameListController::focusLeft(NameListView *list)
{
    // After the focus change has finished: the click that moved it still arrives. A list whose
    // card was left has handed the focus to the new card already.
    QMetaObject::invokeMethod(
        this,
        [this, list = QPointer<NameListView>(list)] {
            if (!m_focusFallback || !list || !list->isVisible() || QApplication::activeModalWidget()
                || !m_focusFallback->isActiveWindow() || qobject_cast<NameListView *>(QApplication::focusWidget())
                || qobject_cast<QLineEdit *>(QApplication::focusWidget())) // the search field
                return;
            m_focusFallback->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}

NameListView *NameListController::currentList() const
{
    return isCardIndex(m_currentCard) ? m_lists[m_currentCard] : nullptr;
}

std::optional<PhoneEntry> NameListController::selectedEntry() const
{
    const NameListView *list = currentList();
    const int row = list ? list->selectedRow() : -1;
    if (row < 0)
        return std::nullopt;
    return list->nameModel()->entry(row);
}

void NameListController::updateMenu()
{
    const bool selected = selectedEntry().has_value();
    m_changeAction->setEnabled(selected);
    m_deleteAction->setEnabled(selected);
}

void NameListController::showMenu(int card, const QPoint &globalPos)
{
    if (card != m_currentCard)
        return;
    updateMenu();
    m_menu->exec(globalPos);
    // The keys stay usable; the commands look at the selection themselves.
    m_changeAction->setEnabled(true);
    m_deleteAction->setEnabled(true);
    emit menuClosed();
}

void NameListController::editEntry(const PhoneEntry &entry, bool newEntry)
{
    NameListView *list = currentList();
    if (!list)
        return;
    EntryEditor editor(m_book.settings(), m_dialogParent);
    editor.setEntry(entry);
    if (editor.exec() != QDialog::Accepted)
        return;
    const std::optional<int> replaced = newEntry ? std::nullopt : std::optional<int>(list->selectedRow());
    const RegisterDocument::EntryChange change = m_book.storeEntry(m_currentCard, replaced, editor.entry());
    list->selectRow(change.row);
    MessageBoxes::reportWrite(m_dialogParent, change.write);
}

void NameListController::undo()
{
    if (!currentList())
        return;
    const RegisterDocument::Undone undone = m_book.undo();
    if (!undone.done)
        return;
    if (undone.card != m_currentCard)
        emit cardRequested(undone.card);
    m_lists[undone.card]->selectRow(undone.row);
    MessageBoxes::reportWrite(m_dialogParent, undone.write);
}

void NameListController::importVCards()
{
    if (currentList())
        reportImport(chooseAndImportVCards(m_book, m_currentCard, m_dialogParent));
}

void NameListController::importVCardFile(const QString &path)
{
    reportImport(quirlanto::importVCardFile(m_book, currentList() ? m_currentCard : 0, path, m_dialogParent));
}

void NameListController::reportImport(const ImportOutcome &outcome)
{
    if (outcome.card)
        emit cardRequested(*outcome.card);
    reportStatus(outcome.status);
}

void NameListController::exportVCards()
{
    if (currentList())
        reportStatus(chooseAndExportVCards(m_book, m_currentCard, m_dialogParent));
}

void NameListController::reportStatus(const QString &text)
{
    if (!text.isEmpty())
        emit statusText(text);
}

void NameListController::deleteSelectedEntry()
{
    const std::optional<PhoneEntry> entry = selectedEntry();
    if (!entry)
        return;
    const QString question = QStringLiteral("Soll der folgende Eintrag wirklich gelöscht werden?\n\n%1 (%2)")
                                 .arg(entry->name, entry->number);
    if (!MessageBoxes::askYesNoTitled(m_dialogParent, QStringLiteral("Eintrag löschen"), question))
        return;
    MessageBoxes::reportWrite(m_dialogParent, m_book.removeEntry(m_currentCard, currentList()->selectedRow()));
}

} // namespace quirlanto
