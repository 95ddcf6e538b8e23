#pragma once

#include "register/phoneentry.h"
#include "register/registercard.h"

#include <QObject>
#include <QPointer>
#include <optional>

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace quirlanto {

class NameListView;
class RegisterDocument;
struct ImportOutcome;

// The cards' context menu "Namensliste" with its keys, the entry editor and the delete
// question: what the user asks of a name list goes to the register document from here.
class NameListController : public QObject {
    Q_OBJECT
public:
    // `lists` are the four cards' lists, card 0 first; a list that loses the focus to a widget
    // that is no list hands it to `focusFallback`; `dialogParent` owns the editor and boxes.
    NameListController(RegisterDocument &book, const std::array<NameListView *, kCardCount> &lists,
                       QWidget *focusFallback, QWidget *dialogParent);

    // The card whose list the commands act on, 0 to 3; anything else: none (the options card).
    void setCurrentCard(int card) { m_currentCard = card; }
    std::optional<PhoneEntry> selectedEntry() const;

    // "&Einfügen" (newEntry) and "&Ändern": opens "Telefonbuch" modally and hands the result on.
    void editEntry(const PhoneEntry &entry, bool newEntry);
    // "&Löschen": asks first (Nein is the default).
    void deleteSelectedEntry();
    // "&Rückgängig" or Ctrl+Z: the last change of the entries is taken back and shown.
    void undo();
    // "&Importieren …" and "E&xportieren …": vCard files in and out of the shown card.
    void importVCards();
    void exportVCards();
    // A file handed over from outside (command line, a later start): into the shown card.
    void importVCardFile(const QString &path);
signals:
    // The menu was shown and has closed again.
    void menuClosed();
    void statusText(const QString &text);
    // "&Suchen" or Ctrl+F.
    void searchRequested();
    // Entries were imported onto this card: it is to be shown.
    void cardRequested(int card);

private:
    // Enables "&Ändern" and "&Löschen" for the current selection.
    void updateMenu();
    void showMenu(int card, const QPoint &globalPos);
    void focusLeft(NameListView *list);
    NameListView *currentList() const;
    void reportStatus(const QString &text);
    void reportImport(const ImportOutcome &outcome);

    RegisterDocument &m_book;
    std::array<NameListView *, kCardCount> m_lists;
    QPointer<QWidget> m_focusFallback;
    QPointer<QWidget> m_dialogParent;
    int m_currentCard = 0;
    QMenu *m_menu = nullptr;
    QAction *m_changeAction = nullptr;
    QAction *m_deleteAction = nullptr;
    QAction *m_undoAction = nullptr;
};

} // namespace quirlanto
