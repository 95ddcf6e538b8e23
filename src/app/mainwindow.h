#pragma once

#include "dial/dialhost.h"
#include "dial/dialmode.h"
#include "providers/providertable.h"
#include "register/phoneentry.h"
#include "register/registerfile.h"

#include <QMainWindow>
#include <functional>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTabBar;

namespace quirlanto {

class NameListModel;
class NameListView;
class OptionsPage;
class SettingsStore;
class UrlOpener;

// Form1: the four cards, the options card, the bottom row and the status bar.
// Holds the register in memory (the name lists' items) and writes it after every change.
class MainWindow final : public QMainWindow, public DialHost {
    Q_OBJECT
public:
    static constexpr int kOptionsTab = 5;

    MainWindow(SettingsStore &settingsStore, UrlOpener &urlOpener, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Reads (or creates) the register file and then the provider file. False when the program
    // must end at once (incompatible or unreadable register file); nothing has been written then.
    bool loadFiles();

    // DialHost
    std::optional<QString> selectedItemText() const override;
    const Settings &settings() const override { return m_contents.settings; }
    const ProviderTable &providerTable() const override { return m_providers; }
    void setStatusText(const QString &text) override;
    void showOptionsCard() override;
    QWidget *dialogParent() override { return this; }

    ProviderTable &providerTable() { return m_providers; }
    const DataPaths &dataPaths() const { return m_paths; }
    const RegisterContents &registerContents() const { return m_contents; }
    SettingsStore &settingsStore() { return m_settingsStore; }

    // Seams for the dial command: double-click/Space/Enter call it with SelectedEntry,
    // "&Wähle Nr. in Zwischenablage" with Clipboard. Until set, nothing happens.
    void setDialCommand(std::function<void(DialMode)> command) { m_dialCommand = std::move(command); }
    // "Debug" on the options page.
    void setShowModemAnswerCommand(std::function<void()> command) { m_showModemAnswer = std::move(command); }
    // What the close box (and Alt+F4) does instead of closing; hides the window unless replaced.
    void setCloseBoxAction(std::function<void()> action) { m_closeBoxAction = std::move(action); }

    QCheckBox *autostartCheckBox() const { return m_autostart; }
    // The options page is built when first needed, not at start: most starts never open it.
    OptionsPage *optionsPage();
    bool optionsPageBuilt() const { return m_options; }
    QCheckBox *providerSwitch();
    QWidget *providerListArea();
    NameListView *nameList(int card) const { return m_lists[card - 1]; }
    NameListModel *nameListModel(int card) const { return m_models[card - 1]; }
    QTabBar *tabStrip() const { return m_tabs; }
    QMenu *nameListMenu() const { return m_listMenu; }

    QString statusText() const;
    // The hint shown while a card is current.
    void statusListe();
    // The tab whose page is shown, 1 to 5.
    int currentTab() const { return m_currentTab; }
    // Shows the window (restoring it when minimised) and brings it forward.
    void showMainWindow();

    void loadOptionControls();
    // Takes over the option controls and writes the register file.
    void saveOptionControls();
    // Writes the register file; a failure is reported, the program goes on. True when written.
    bool writeRegisterFile();

    // "&Einfügen" (newEntry) and "&Ändern": opens "Telefonbuch" modally, then applies the result.
    void editEntry(const PhoneEntry &entry, bool newEntry);
    // "&Löschen": asks first (Nein is the default).
    void deleteSelectedEntry();
    // Right button on a name list: enables the menu's items for the current selection.
    void updateNameListMenu();

    // "/AUTOSTART" start: stays hidden unless a new register file sends the user to the options.
    void setStartedHidden(bool hidden) { m_startedHidden = hidden; }
    bool startedHidden() const { return m_startedHidden; }

    // "&Ende": saves the options if shown, announces the end, saves the placement, quits.
    void endProgram();

signals:
    // End of loadFiles, while `loading` is still true: controls set from the files now do not save.
    void filesLoaded();
    // Emitted once when the program ends ("&Ende", the tray's end, the session ending),
    // after the options were saved and before the window placement is written.
    void programEnding();
    // Once, right after the options page has been built and set from the loaded files.
    void optionsPageCreated(OptionsPage *page);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void buildCardsAndPages();
    void buildBottomRow();
    void buildOptionsPage();
    void tabSelected(int index);
    void showCardPage(int tab);
    void applyLoadedContents(RegisterContents contents);
    void applyListFont(double pointSize);
    void showNameListMenu(int card, const QPoint &globalPos);
    NameListView *currentNameList() const;
    void requestDial(DialMode mode);
    void runShutdown();

    SettingsStore &m_settingsStore;
    UrlOpener &m_urlOpener;
    RegisterContents m_contents;
    ProviderTable m_providers;
    DataPaths m_paths;

    QTabBar *m_tabs = nullptr;
    QStackedWidget *m_pages = nullptr;
    NameListView *m_lists[kCardCount] = {};
    NameListModel *m_models[kCardCount] = {};
    QWidget *m_optionsPicture = nullptr;
    OptionsPage *m_options = nullptr;
    QCheckBox *m_autostart = nullptr;
    std::vector<QWidget *> m_bottomRow; // in tab order
    QMenu *m_listMenu = nullptr;
    QAction *m_insertAction = nullptr;
    QAction *m_changeAction = nullptr;
    QAction *m_deleteAction = nullptr;

    int m_currentTab = 1;
    bool m_startedHidden = false;
    bool m_ending = false;
    bool m_inTabReaction = false;

    std::function<void(DialMode)> m_dialCommand;
    std::function<void()> m_showModemAnswer;
    std::function<void()> m_closeBoxAction = [this] { hide(); };
};

} // namespace quirlanto
