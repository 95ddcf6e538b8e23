#include "app/mainwindow.h"

#include "about/aboutwindow.h"
#include "app/logo.h"
#include "options/optionspage.h"
#include "providers/providerfile.h"
#include "register/entryeditor.h"
#include "register/namelistmodel.h"
#include "register/namelistview.h"
#include "register/phoneentry.h"
#include "support/helplinks.h"
#include "support/messagebox.h"
#include "support/programflags.h"
#include "support/settingsstore.h"
#include "support/version.h"
#include "support/windowplacement.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

namespace quirlanto {

namespace {

const QString kListHint = QStringLiteral("Doppelklick für Anwahl oder rechte Maustaste für Menü");
const QString kOptionsHint = QStringLiteral("Bitte gewünschte Änderungen vornehmen");

// A tab caption shows "&" literally; on the tab strip it would mark an accelerator.
QString tabCaption(const QString &cardName)
{
    QString caption = cardName;
    return caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// Controls set from the files meanwhile are no change to save.
class LoadingFlag {
public:
    LoadingFlag()
        : m_previous(std::exchange(loading, true))
    {}
    ~LoadingFlag() { loading = m_previous; }
    LoadingFlag(const LoadingFlag &) = delete;
    LoadingFlag &operator=(const LoadingFlag &) = delete;

private:
    bool m_previous;
};

} // namespace

MainWindow::MainWindow(SettingsStore &settingsStore, UrlOpener &urlOpener, QWidget *parent)
    : QMainWindow(parent)
    , m_settingsStore(settingsStore)
    , m_urlOpener(urlOpener)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(kProductName) + QLatin1Char(' ') + versionText(257));
    m_paths = DataPaths::inDirectory(programDirectory());

    buildCardsAndPages();
    buildBottomRow();

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    setStatusBar(status);
    statusListe();

    auto addShortcut = [this](QKeySequence keys, int step) {
        auto *shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, step] {
            const int count = m_tabs->count();
            m_tabs->setCurrentIndex((m_tabs->currentIndex() + step + count) % count);
        });
    };
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1);
    addShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1);
    addShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1);
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);

    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (!m_ending)
            runShutdown();
    });

    resize(760, 600); // the layouts still enforce their minimum when shown
}

MainWindow::~MainWindow()
{
    // The lists look into m_contents and m_providers, which die before QWidget deletes children.
    delete takeCentralWidget();
}

void MainWindow::buildCardsAndPages()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);

    m_tabs = new QTabBar(central);
    m_tabs->setObjectName(QStringLiteral("TabStrip1"));
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(true);
    m_tabs->setFocusPolicy(Qt::StrongFocus);
    m_pages = new QStackedWidget(central);
    m_pages->setObjectName(QStringLiteral("PageStack"));

    for (int card = 1; card <= kCardCount; ++card) {
        m_tabs->addTab(tabCaption(m_contents.cards[card - 1].cardName));
        auto *page = new QWidget(m_pages);
        page->setObjectName(QStringLiteral("Picture%1").arg(card));
        auto *pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        auto *model = new NameListModel(&m_contents.cards[card - 1].entries, this);
        auto *list = new NameListView(page);
        list->setObjectName(QStringLiteral("NamList%1").arg(card));
        list->setNameModel(model);
        pageLayout->addWidget(list);
        m_pages->addWidget(page);
        m_lists[card - 1] = list;
        m_models[card - 1] = model;

        connect(list, &NameListView::dialRequested, this, [this] { requestDial(SelectedEntry); });
        connect(list, &NameListView::entrySelected, this,
                [this](const QString &item) { setStatusText(entryNumber(item)); });
        connect(list, &NameListView::menuRequested, this,
                [this, card](const QPoint &pos) { showNameListMenu(card, pos); });
        connect(list, &NameListView::focusLeft, this, [this] {
            // After the focus change has finished: the click that moved it still arrives.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    QWidget *focus = QApplication::focusWidget();
                    if (!modalBusy && isActiveWindow() && !qobject_cast<NameListView *>(focus))
                        m_tabs->setFocus(Qt::OtherFocusReason);
                },
                Qt::QueuedConnection);
        });
    }

    m_tabs->addTab(QStringLiteral("Optionen"));
    m_optionsPicture = new QWidget(m_pages);
    m_optionsPicture->setObjectName(QStringLiteral("Picture5"));
    auto *optionsLayout = new QVBoxLayout(m_optionsPicture);
    optionsLayout->setContentsMargins(0, 0, 0, 0);
    m_pages->addWidget(m_optionsPicture);

    m_listMenu = new QMenu(QStringLiteral("Namensliste"), this);
    m_listMenu->setObjectName(QStringLiteral("Namensliste"));
    m_insertAction = m_listMenu->addAction(QStringLiteral("&Einfügen"));
    m_changeAction = m_listMenu->addAction(QStringLiteral("&Ändern"));
    m_deleteAction = m_listMenu->addAction(QStringLiteral("&Löschen"));
    m_listMenu->addSeparator();
    m_listMenu->setDefaultAction(m_listMenu->addAction(QStringLiteral("&Abbrechen")));
    // The same commands from the keyboard, on whichever list has the focus.
    const std::pair<QAction *, QKeySequence> keys[] = {{m_insertAction, QKeySequence(Qt::Key_Insert)},
                                                       {m_changeAction, QKeySequence(Qt::Key_F2)},
                                                       {m_deleteAction, QKeySequence(QKeySequence::Delete)}};
    for (const auto &[action, key] : keys) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(false); // key names would show in English
        for (NameListView *list : m_lists)
            list->addAction(action);
    }
    connect(m_insertAction, &QAction::triggered, this, [this] { editEntry({QString(), QString(), 1}, true); });
    connect(m_changeAction, &QAction::triggered, this, [this] {
        if (const auto item = selectedItemText())
            editEntry(phoneEntryFromItem(*item), false);
    });
    connect(m_deleteAction, &QAction::triggered, this, &MainWindow::deleteSelectedEntry);

    connect(m_tabs, &QTabBar::currentChanged, this, &MainWindow::tabSelected);

    layout->addWidget(m_tabs);
    layout->addWidget(m_pages, 1);
    setCentralWidget(central);
}

void MainWindow::buildBottomRow()
{
    auto *row = new QHBoxLayout;
    auto button = [this, row](int index, const QString &caption, auto slot) {
        auto *b = new QPushButton(caption, centralWidget());
        b->setObjectName(QStringLiteral("Btn%1").arg(index));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        row->addWidget(b);
        m_bottomRow.push_back(b);
        return b;
    };
    button(2, QStringLiteral("&Wähle Nr. in Zwischenablage"), [this] {
        requestDial(Clipboard);
    })->setToolTip(QStringLiteral("Wählt die Telefonnummer, die als Text in der Zwischenablage steht"));
    button(1, QStringLiteral("&Ausblenden"), [this] {
        // Same as the close box: minimises instead where no tray could bring the window back.
        m_closeBoxAction();
    })->setToolTip(QStringLiteral("Blendet das Fenster aus; das Programm läuft weiter"));
    button(20, QStringLiteral("&Info"), [this] { showAboutWindow(this, m_urlOpener); });
    button(21, QStringLiteral("&Hilfe"), [this] { openHelp(m_urlOpener, QString(), false, this); });
    button(22, QStringLiteral("&Ende"), [this] { endProgram(); })->setToolTip(QStringLiteral("Beendet das Programm"));

    m_autostart = new QCheckBox(QStringLiteral("&Autostart"), centralWidget());
    m_autostart->setObjectName(QStringLiteral("AutoStartCHK"));
    m_autostart->setToolTip(QStringLiteral("Quirlanto bei der Anmeldung ausgeblendet starten"));
    row->addSpacing(8);
    row->addWidget(m_autostart);
    m_bottomRow.push_back(m_autostart);
    row->addStretch();

    row->addWidget(makerLogoLabel(quirlantoLogo(40), m_urlOpener, centralWidget()));

    static_cast<QVBoxLayout *>(centralWidget()->layout())->addLayout(row);
}

void MainWindow::buildOptionsPage()
{
    const LoadingFlag flag;
    m_options = new OptionsPage(m_optionsPicture);
    m_optionsPicture->layout()->addWidget(m_options);
    m_options->show(); // the layout would show it only after the next pass of the event loop
    connect(m_options, &OptionsPage::dialDeviceClicked, this, [this](int device) {
        m_contents.settings.dialDevice = device;
        if (!loading)
            writeRegisterFile();
    });
    connect(m_options, &OptionsPage::showModemAnswerClicked, this, [this] {
        if (m_showModemAnswer)
            m_showModemAnswer();
    });
    m_options->setDialDevice(m_contents.settings.dialDevice);
    emit optionsPageCreated(m_options);

    // Built late, the page comes last in the tab order; the bottom row belongs after it.
    QWidget *previous = nullptr;
    for (QWidget *w = m_options->nextInFocusChain(); m_options->isAncestorOf(w); w = w->nextInFocusChain()) {
        if (w->focusPolicy() != Qt::NoFocus)
            previous = w;
    }
    for (QWidget *w : m_bottomRow) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

OptionsPage *MainWindow::optionsPage()
{
    if (!m_options)
        buildOptionsPage();
    return m_options;
}

QCheckBox *MainWindow::providerSwitch()
{
    return optionsPage()->providerSwitch();
}

QWidget *MainWindow::providerListArea()
{
    return optionsPage()->providerListArea();
}

bool MainWindow::loadFiles()
{
    const LoadingFlag flag;
    m_paths = DataPaths::inDirectory(programDirectory());
    showCardPage(1);
    removeWriteLeftovers(m_paths.registerPath);
    removeWriteLeftovers(m_paths.providerPath);

    LoadRegisterOutcome outcome = loadRegister(m_paths);
    switch (outcome.kind) {
    case LoadRegisterOutcome::Incompatible:
        MessageBoxes::critical(this, incompatibleRegisterMessage());
        return false;
    case LoadRegisterOutcome::Unreadable:
        MessageBoxes::critical(this, QStringLiteral("Die Telefonliste „%1“ kann nicht gelesen werden:\n%2\n\n"
                                                    "Das Programm wird beendet, ohne etwas zu ändern.")
                                         .arg(m_paths.registerPath, outcome.problem));
        return false;
    case LoadRegisterOutcome::LoadedDamaged: {
        applyLoadedContents(std::move(outcome.contents));
        QString text = QStringLiteral("Die Telefonliste konnte nicht vollständig gelesen werden:\n") + outcome.problem;
        if (!outcome.preservedCopy.isEmpty())
            text += QStringLiteral("\n\nDie ursprüngliche Datei wurde unverändert als „%1“ aufbewahrt.")
                        .arg(outcome.preservedCopy);
        MessageBoxes::show(this, MessageIcon::Warning, text);
        break;
    }
    case LoadRegisterOutcome::CreatedNew:
        applyLoadedContents(std::move(outcome.contents));
        if (!outcome.writeResult.ok)
            MessageBoxes::critical(this, outcome.writeResult.error);
        else
            MessageBoxes::information(this, newRegisterMessage());
        showOptionsCard();
        break;
    case LoadRegisterOutcome::Loaded:
        applyLoadedContents(std::move(outcome.contents));
        break;
    }

    if (fileExists(m_paths.providerPath)) {
        const LoadProviderResult result = loadProviderFile(m_paths.providerPath, m_providers);
        if (!result.ok || !result.problem.isEmpty()) {
            MessageBoxes::show(this, MessageIcon::Warning,
                               QStringLiteral("Die Provider-Liste „%1“ konnte nicht vollständig gelesen werden:\n%2")
                                   .arg(m_paths.providerPath, result.problem));
        }
    }
    emit filesLoaded();
    return true;
}

void MainWindow::applyLoadedContents(RegisterContents contents)
{
    m_contents = std::move(contents);
    m_contents.settings.dialDevice = m_contents.settings.dialDevice == Loudspeaker ? Loudspeaker : Modem;
    for (int card = 1; card <= kCardCount; ++card) {
        m_models[card - 1]->reload();
        m_tabs->setTabText(card - 1, tabCaption(m_contents.cards[card - 1].cardName));
    }
    applyListFont(m_contents.settings.entryFontSize);
    if (m_options)
        m_options->setDialDevice(m_contents.settings.dialDevice);
}

void MainWindow::applyListFont(double pointSize)
{
    // The lists show whole point sizes within the slider's range; that size is what gets stored.
    const double rounded = std::isfinite(pointSize) ? std::nearbyint(pointSize) : 12.0;
    const int size = int(std::clamp(rounded, double(kMinEntryFontSize), double(kMaxEntryFontSize)));
    for (NameListView *list : m_lists) {
        QFont font = list->font();
        font.setPointSize(size);
        list->setFont(font);
    }
    m_contents.settings.entryFontSize = size;
}

std::optional<QString> MainWindow::selectedItemText() const
{
    const NameListView *list = currentNameList();
    if (!list)
        return std::nullopt;
    const int row = list->selectedRow();
    if (row < 0)
        return std::nullopt;
    return list->nameModel()->itemText(row);
}

NameListView *MainWindow::currentNameList() const
{
    return m_currentTab >= 1 && m_currentTab <= kCardCount ? m_lists[m_currentTab - 1] : nullptr;
}

void MainWindow::setStatusText(const QString &text)
{
    statusBar()->showMessage(text);
}

QString MainWindow::statusText() const
{
    return statusBar()->currentMessage();
}

void MainWindow::statusListe()
{
    setStatusText(kListHint);
}

void MainWindow::showMainWindow()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void MainWindow::showOptionsCard()
{
    if (m_tabs->currentIndex() == kOptionsTab - 1)
        tabSelected(kOptionsTab - 1);
    else
        m_tabs->setCurrentIndex(kOptionsTab - 1);
}

void MainWindow::showCardPage(int tab)
{
    m_inTabReaction = true;
    m_tabs->setCurrentIndex(tab - 1);
    m_inTabReaction = false;
    m_pages->setCurrentIndex(tab - 1);
    m_currentTab = tab;
    if (tab <= kCardCount)
        m_lists[tab - 1]->setFocus();
}

void MainWindow::tabSelected(int index)
{
    if (m_inTabReaction || index < 0)
        return;
    const int sel = index + 1;
    showMainWindow();
    m_pages->setCurrentIndex(index);
    if (sel <= kCardCount) {
        if (m_currentTab == kOptionsTab) {
            saveOptionControls();
            statusListe();
        }
        m_lists[index]->setFocus(Qt::OtherFocusReason);
    } else if (m_currentTab != kOptionsTab) {
        loadOptionControls();
        setStatusText(kOptionsHint);
        optionsPage()->countryBox()->setFocus(Qt::OtherFocusReason);
    }
    m_currentTab = sel;
}

void MainWindow::loadOptionControls()
{
    QStringList names;
    for (const RegisterCard &card : m_contents.cards)
        names.append(card.cardName);
    optionsPage()->loadOptionControls(m_contents.settings, names, m_lists[0]->font());
}

void MainWindow::saveOptionControls()
{
    const OptionValues values = optionsPage()->saveOptionControls(m_contents.settings);
    m_contents.settings = values.settings;
    for (int card = 1; card <= kCardCount; ++card) {
        m_contents.cards[card - 1].cardName = values.cardNames.value(card - 1);
        m_tabs->setTabText(card - 1, tabCaption(m_contents.cards[card - 1].cardName));
    }
    applyListFont(values.entryFontSize);
    writeRegisterFile();
}

bool MainWindow::writeRegisterFile()
{
    const WriteResult result = writeRegister(m_contents, m_paths);
    if (!result.ok)
        MessageBoxes::critical(this, result.error);
    return result.ok;
}

void MainWindow::updateNameListMenu()
{
    const bool selected = selectedItemText().has_value();
    m_changeAction->setEnabled(selected);
    m_deleteAction->setEnabled(selected);
}

void MainWindow::showNameListMenu(int card, const QPoint &globalPos)
{
    if (card != m_currentTab)
        return;
    updateNameListMenu();
    m_listMenu->exec(globalPos);
    // The keys stay usable; the commands look at the selection themselves.
    m_changeAction->setEnabled(true);
    m_deleteAction->setEnabled(true);
    statusListe();
}

void MainWindow::editEntry(const PhoneEntry &entry, bool newEntry)
{
    NameListView *list = currentNameList();
    if (!list)
        return;
    EntryEditor editor(this);
    editor.setEntry(entry);
    const int result = [&editor] {
        const ModalBusyScope busy;
        return editor.exec();
    }();
    if (result != QDialog::Accepted)
        return;

    NameListModel *model = list->nameModel();
    if (!newEntry)
        model->removeItem(list->selectedRow());
    const PhoneEntry edited = editor.entry();
    // A name or number of blanks only would give an entry nobody can see or dial.
    if (!edited.name.trimmed().isEmpty() && !edited.number.trimmed().isEmpty()) {
        model->appendItem(makeItemText(edited.name, edited.number, edited.zeroFlag));
        list->selectRow(model->rowCount() - 1);
    }
    writeRegisterFile();
}

void MainWindow::deleteSelectedEntry()
{
    NameListView *list = currentNameList();
    if (!list)
        return;
    const int row = list->selectedRow();
    if (row < 0)
        return;
    const QString item = list->nameModel()->itemText(row);
    const QString question = QStringLiteral("Soll der folgende Eintrag wirklich gelöscht werden?\n\n%1 (%2)")
                                 .arg(entryName(item), entryNumber(item));
    if (!MessageBoxes::askYesNoTitled(this, QStringLiteral("Eintrag löschen"), question))
        return;
    list->nameModel()->removeItem(row);
    writeRegisterFile();
}

void MainWindow::requestDial(DialMode mode)
{
    if (m_dialCommand)
        m_dialCommand(mode);
}

void MainWindow::endProgram()
{
    if (m_ending)
        return;
    runShutdown();
    close();
    QCoreApplication::quit();
}

void MainWindow::runShutdown()
{
    m_ending = true;
    if (m_currentTab == kOptionsTab)
        saveOptionControls();
    emit programEnding();
    saveWindowPlacement(*this, m_settingsStore);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_ending) {
        event->accept();
        return;
    }
    if (event->spontaneous()) {
        // The close box, the window menu and Alt+F4 only put the window away.
        event->ignore();
        m_closeBoxAction();
        return;
    }
    // Any other close (the session ending) goes ahead, keeping what is open on the options card.
    runShutdown();
    event->accept();
}

bool MainWindow::event(QEvent *event)
{
    // Menu items and buttons would otherwise wipe the status line when hovered.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

} // namespace quirlanto
