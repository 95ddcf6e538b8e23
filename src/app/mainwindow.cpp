#include "app/mainwindow.h"

#include "app/bottomrow.h"
#include "options/optionspage.h"
#include "register/namelistcontroller.h"
#include "register/namelistmodel.h"
#include "register/namelistview.h"
#include "register/namesearch.h"
#include "register/registerdocument.h"
#include "register/registermessages.h"
#include "support/messagebox.h"
#include "support/version.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

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

// Four lists alike: a screen reader tells them apart by their card.
void nameListCaption(NameListView *list, const QString &cardName)
{
    list->setAccessibleName(QStringLiteral("Namensliste ") + cardName);
}

} // namespace

MainWindow::MainWindow(RegisterDocument &book, SettingsStore &store, UrlOpener &urlOpener, QWidget *parent)
    : QMainWindow(parent)
    , m_book(book)
    , m_store(store)
    , m_urlOpener(urlOpener)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QString::fromLatin1(kProductName) + QLatin1Char(' ') + captionVersionText());

    buildCardsAndPages();
    m_nameLists = new NameListController(m_book, m_lists, m_tabs, this);
    connect(m_nameLists, &NameListController::menuClosed, this, &MainWindow::showListHint);
    connect(m_nameLists, &NameListController::statusText, this, &MainWindow::setStatusText);
    connect(m_nameLists, &NameListController::searchRequested, m_search, &NameSearch::open);
    connect(m_nameLists, &NameListController::cardRequested, this, [this](int card) { m_tabs->setCurrentIndex(card); });
    connect(m_search, &NameSearch::hitChosen, this, [this](int card, int row) {
        m_search->hide();
        m_tabs->setCurrentIndex(card);
        m_lists[card]->selectRow(row);
        m_lists[card]->setFocus(Qt::OtherFocusReason); // the card may have been shown already
        emit dialRequested(DialMode::SelectedEntry);
    });
    connect(m_search, &NameSearch::closed, this, [this] {
        if (isCardIndex(m_currentTab))
            m_lists[m_currentTab]->setFocus(Qt::OtherFocusReason);
    });
    buildBottomRow();

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("statusBar"));
    status->setSizeGripEnabled(false);
    setStatusBar(status);
    showListHint();

    const std::pair<QKeyCombination, int> cardKeys[] = {{Qt::CTRL | Qt::Key_Tab, 1},
                                                        {Qt::CTRL | Qt::Key_PageDown, 1},
                                                        {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1},
                                                        {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1},
                                                        {Qt::CTRL | Qt::Key_PageUp, -1}};
    for (const auto &[keys, step] : cardKeys) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this, step = step] {
            const int count = m_tabs->count();
            m_tabs->setCurrentIndex((m_tabs->currentIndex() + step + count) % count);
        });
    }

    // The tray menu's redial, for the keyboard and where there is no tray.
    auto *redial = new QAction(QStringLiteral("Wahlwiederholung"), this);
    redial->setObjectName(QStringLiteral("redialAction"));
    redial->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    addAction(redial);
    connect(redial, &QAction::triggered, this, [this] { emit dialRequested(DialMode::Redial); });

    connect(&book, &RegisterDocument::cardNamesChanged, this, &MainWindow::showCardNames);
    connect(&book, &RegisterDocument::settingsChanged, this, &MainWindow::applyListFont);
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (!m_ending)
            runShutdown();
    });

    resize(760, 600); // the layouts still enforce their minimum when shown
}

MainWindow::~MainWindow() = default;

void MainWindow::buildCardsAndPages()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);

    m_tabs = new QTabBar(central);
    m_tabs->setObjectName(QStringLiteral("tabStrip"));
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(true);
    m_tabs->setFocusPolicy(Qt::StrongFocus);
    m_pages = new QStackedWidget(central);
    m_pages->setObjectName(QStringLiteral("pageStack"));

    for (int card = 0; card < kCardCount; ++card) {
        m_tabs->addTab(tabCaption(m_book.cardName(card)));
        auto *page = new QWidget(m_pages);
        page->setObjectName(QStringLiteral("cardPage%1").arg(card));
        auto *pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        auto *list = new NameListView(page);
        list->setObjectName(QStringLiteral("nameList%1").arg(card));
        list->setNameModel(new NameListModel(m_book, card, list));
        nameListCaption(list, m_book.cardName(card));
        list->setAccessibleDescription(
            QStringLiteral("Eingabe oder Leertaste wählt; Menütaste oder Umschalt+F10 öffnet das Menü"));
        pageLayout->addWidget(list);
        m_pages->addWidget(page);
        m_lists[card] = list;

        connect(list, &NameListView::dialRequested, this, [this] { emit dialRequested(DialMode::SelectedEntry); });
        connect(list, &NameListView::entrySelected, this,
                [this](const PhoneEntry &entry) { setStatusText(entry.number); });
    }

    m_tabs->addTab(QStringLiteral("Optionen"));
    m_optionsCardPage = new QWidget(m_pages);
    m_optionsCardPage->setObjectName(QStringLiteral("optionsCardPage"));
    auto *optionsLayout = new QVBoxLayout(m_optionsCardPage);
    optionsLayout->setContentsMargins(0, 0, 0, 0);
    m_pages->addWidget(m_optionsCardPage);
    connect(m_tabs, &QTabBar::currentChanged, this, &MainWindow::tabSelected);

    // Only the shown page counts for the window's least size: the options card is the tallest,
    // and the search field above a card would otherwise make the window grow.
    const auto onlyShownPageCounts = [this](int current) {
        for (int i = 0; i < m_pages->count(); ++i) {
            const QSizePolicy::Policy policy = i == current ? QSizePolicy::Preferred : QSizePolicy::Ignored;
            m_pages->widget(i)->setSizePolicy(policy, policy);
        }
    };
    onlyShownPageCounts(m_pages->currentIndex());
    connect(m_pages, &QStackedWidget::currentChanged, this, onlyShownPageCounts);
    m_search = new NameSearch(m_book, central);
    layout->addWidget(m_tabs);
    layout->addWidget(m_search);
    layout->addWidget(m_pages, 1);
    setCentralWidget(central);
}

void MainWindow::buildBottomRow()
{
    m_bottomRow = new BottomRow(centralWidget(), m_urlOpener);
    connect(m_bottomRow, &BottomRow::dialClipboardClicked, this, [this] { emit dialRequested(DialMode::Clipboard); });
    connect(m_bottomRow, &BottomRow::callListClicked, this, &MainWindow::callListRequested);
    connect(m_bottomRow, &BottomRow::hideClicked, this, &MainWindow::hideRequested);
    connect(m_bottomRow, &BottomRow::endClicked, this, &MainWindow::endProgram);
    static_cast<QVBoxLayout *>(centralWidget()->layout())->addLayout(m_bottomRow->layout());
}

void MainWindow::buildOptionsPage()
{
    m_options = new OptionsPage(m_book, m_store, m_optionsCardPage);
    m_options->setBoxPasswords(m_boxPasswords);
    m_optionsCardPage->layout()->addWidget(m_options);
    m_options->show(); // the layout would show it only after the next pass of the event loop
    connect(m_options, &OptionsPage::showModemAnswerClicked, this, &MainWindow::showModemAnswerRequested);

    // Built late, the page comes last in the tab order; the bottom row belongs after it.
    QWidget *previous = m_options->lastInFocusChain();
    for (QWidget *w : m_bottomRow->controls()) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QCheckBox *MainWindow::autostartCheckBox() const
{
    return m_bottomRow->autostartCheckBox();
}

void MainWindow::setBoxPasswords(BoxPasswords *passwords)
{
    m_boxPasswords = passwords;
    if (m_options)
        m_options->setBoxPasswords(passwords);
}

OptionsPage *MainWindow::optionsPage()
{
    if (!m_options)
        buildOptionsPage();
    return m_options;
}

bool MainWindow::loadFiles()
{
    showCardPage(0);
    switch (loadDocument(m_book, this)) {
    case LoadRegisterOutcome::Kind::Incompatible:
    case LoadRegisterOutcome::Kind::Unreadable:
        return false;
    case LoadRegisterOutcome::Kind::CreatedNew:
        showOptionsCard();
        break;
    default:
        break;
    }
    return true;
}

void MainWindow::showCardNames()
{
    for (int card = 0; card < kCardCount; ++card) {
        m_tabs->setTabText(card, tabCaption(m_book.cardName(card)));
        nameListCaption(m_lists[card], m_book.cardName(card));
    }
}

void MainWindow::applyListFont()
{
    for (NameListView *list : m_lists) {
        QFont font = list->font();
        font.setPointSize(int(m_book.settings().entryFontSize));
        list->setFont(font);
    }
}

std::optional<PhoneEntry> MainWindow::selectedEntry() const
{
    return m_nameLists->selectedEntry();
}

void MainWindow::setStatusText(const QString &text)
{
    statusBar()->showMessage(text);
    // The name change is announced: a screen reader hears how a dial went.
    statusBar()->setAccessibleName(text);
}

QString MainWindow::statusText() const
{
    return statusBar()->currentMessage();
}

void MainWindow::showListHint()
{
    setStatusText(kListHint);
}

void MainWindow::showOptionsCard()
{
    if (m_tabs->currentIndex() == kOptionsTab)
        tabSelected(kOptionsTab);
    else
        m_tabs->setCurrentIndex(kOptionsTab);
}

void MainWindow::showCardPage(int tab)
{
    m_inTabReaction = true;
    m_tabs->setCurrentIndex(tab);
    m_inTabReaction = false;
    m_pages->setCurrentIndex(tab);
    setCurrentTab(tab);
    if (isCardIndex(tab))
        m_lists[tab]->setFocus();
}

void MainWindow::tabSelected(int index)
{
    if (m_inTabReaction || index < 0)
        return;
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
    m_pages->setCurrentIndex(index);
    if (isCardIndex(index)) {
        if (m_currentTab == kOptionsTab) {
            saveOptionControls();
            showListHint();
        }
        m_lists[index]->setFocus(Qt::OtherFocusReason);
    } else if (m_currentTab != kOptionsTab) {
        m_search->hide(); // it finds entries of the cards only
        optionsPage()->load(m_lists[0]->font());
        setStatusText(kOptionsHint);
        optionsPage()->countryBox()->setFocus(Qt::OtherFocusReason);
    }
    setCurrentTab(index);
}

void MainWindow::setCurrentTab(int tab)
{
    m_currentTab = tab;
    m_nameLists->setCurrentCard(tab);
}

void MainWindow::saveOptionControls()
{
    optionsPage()->save();
}

void MainWindow::addNumberToRegister(const QString &internationalNumber)
{
    if (QApplication::activeModalWidget()) {
        QApplication::beep();
        return;
    }
    if (!isVisible() || isMinimized())
        showNormal();
    activateWindow();
    if (!isCardIndex(m_currentTab))
        m_tabs->setCurrentIndex(0);
    if (isCardIndex(m_currentTab))
        m_nameLists->editEntry({QString(), internationalNumber, true}, true);
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
        emit hideRequested();
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
