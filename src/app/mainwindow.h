#pragma once

#include "dial/dialmode.h"
#include "dial/dialview.h"
#include "register/registercard.h"

#include <QMainWindow>
#include <vector>

class QCheckBox;
class QStackedWidget;
class QTabBar;

namespace quirlanto {

class BottomRow;
class BoxPasswords;
class NameListController;
class NameListView;
class NameSearch;
class OptionsPage;
class RegisterDocument;
class SettingsStore;
class UrlOpener;

// The four cards, the options card, the bottom row and the status bar: a view of the register
// document that hands every change back to it.
class MainWindow final : public QMainWindow, public DialView {
    Q_OBJECT
public:
    // The tabs are the cards, then "Optionen".
    static constexpr int kOptionsTab = kCardCount;

    // `store`: the per-user settings the options card keeps the serial devices in.
    MainWindow(RegisterDocument &book, SettingsStore &store, UrlOpener &urlOpener, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Has the document read (or create) the register file and then the provider file, and shows
    // what came of it. False when the program must end at once (incompatible or unreadable
    // register file); nothing has been written then.
    bool loadFiles();

    // DialView
    std::optional<PhoneEntry> selectedEntry() const override;
    void setStatusText(const QString &text) override;
    void showOptionsCard() override;
    QWidget *dialogParent() override { return this; }

    QCheckBox *autostartCheckBox() const;
    // The options page is built when first needed, not at start: most starts never open it.
    OptionsPage *optionsPage();
    NameListController *nameLists() const { return m_nameLists; }
    // Where the options card's router set-up keeps the password.
    void setBoxPasswords(BoxPasswords *passwords);

    QString statusText() const;
    // The tab whose page is shown, a card or kOptionsTab.
    int currentTab() const { return m_currentTab; }

    // Takes over the option controls; the document writes the register file.
    void saveOptionControls();

    // "/AUTOSTART" start: stays hidden unless a new register file sends the user to the options.
    void setStartedHidden(bool hidden) { m_startedHidden = hidden; }
    bool startedHidden() const { return m_startedHidden; }

    // "Ins Register …" of a call: the entry editor with the number, for the card shown (the
    // first when the options card is).
    void addNumberToRegister(const QString &internationalNumber);

    // "&Ende": saves the options if shown, announces the end, quits.
    void endProgram();

signals:
    // Double-click, Space or Enter on a name (SelectedEntry), "&Wähle Nr. in Zwischenablage"
    // (Clipboard), Ctrl+R (Redial).
    void dialRequested(quirlanto::DialMode mode);
    // "Debug" on the options page.
    void showModemAnswerRequested();
    // "An&rufliste".
    void callListRequested();
    // The close box, Alt+F4 and "&Ausblenden": the window is to be put out of sight.
    void hideRequested();
    // Once when the program ends ("&Ende", the tray's end, the session ending), after the
    // options were saved; the window placement is saved from here.
    void programEnding();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    // The hint shown while a card is current.
    void showListHint();
    void buildCardsAndPages();
    void buildBottomRow();
    void buildOptionsPage();
    void tabSelected(int index);
    void showCardPage(int tab);
    void showCardNames();
    void applyListFont();
    void setCurrentTab(int tab);
    void runShutdown();

    RegisterDocument &m_book;
    SettingsStore &m_store;
    UrlOpener &m_urlOpener;

    QTabBar *m_tabs = nullptr;
    QStackedWidget *m_pages = nullptr;
    std::array<NameListView *, kCardCount> m_lists = {};
    NameListController *m_nameLists = nullptr;
    NameSearch *m_search = nullptr;
    QWidget *m_optionsCardPage = nullptr;
    OptionsPage *m_options = nullptr;
    BoxPasswords *m_boxPasswords = nullptr;
    BottomRow *m_bottomRow = nullptr;

    int m_currentTab = 0;
    bool m_startedHidden = false;
    bool m_ending = false;
    bool m_inTabReaction = false;
};

} // namespace quirlanto
