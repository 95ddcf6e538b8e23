#include "app/traycontroller.h"
#include "faketrayicon.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWidget>

using namespace quirlanto;
using namespace quirlanto::test;

namespace {

// Press and double-click notifications as a sequence: L/R press, l/r double-click.
void play(FakeTrayIcon &icon, const QString &events)
{
    for (QChar e : events) {
        if (e == u'L' || e == u'R')
            emit icon.pressed(e == u'L' ? Qt::LeftButton : Qt::RightButton);
        else if (e == u'l' || e == u'r')
            emit icon.doubleClicked(e == u'l' ? Qt::LeftButton : Qt::RightButton);
        else if (e == u'M')
            emit icon.pressed(Qt::MiddleButton);
    }
}

} // namespace

class TestTrayController : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void menuItems();
    void menuShape();
    void toolTip();
    void installAndRemove();
    void presses_data();
    void presses();
    void systemTrayReasons_data();
    void systemTrayReasons();
    void menuActions();
    void redialItem();
    void quickSecondPressChoosesNothing();
    void withoutTrayMinimises();

private:
    // A modal window of the program is open: the tray beeps instead of showing the window.
    void setModalOpen(bool open);
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<FakeTrayIcon> m_icon;
    std::unique_ptr<TrayController> m_tray;
    std::unique_ptr<QDialog> m_modal;
    int m_beeps = 0;
    QList<DialMode> m_dials;
    int m_ends = 0;
};

void TestTrayController::setModalOpen(bool open)
{
    if (!open) {
        m_modal.reset();
        return;
    }
    m_modal = std::make_unique<QDialog>();
    m_modal->setModal(true);
    m_modal->show();
    QVERIFY(QApplication::activeModalWidget());
}

void TestTrayController::init()
{
    m_beeps = 0;
    m_ends = 0;
    m_dials.clear();
    m_window = std::make_unique<QWidget>();
    m_icon = std::make_unique<FakeTrayIcon>();
    m_tray = std::make_unique<TrayController>(m_icon.get(), m_window.get());
    m_tray->setBeep([this] { ++m_beeps; });
    connect(m_tray.get(), &TrayController::dialRequested, this, [this](DialMode mode) { m_dials.append(mode); });
    connect(m_tray.get(), &TrayController::endRequested, this, [this] { ++m_ends; });
}

void TestTrayController::cleanup()
{
    m_modal.reset();
    m_tray.reset();
    m_icon.reset();
    m_window.reset();
}

void TestTrayController::menuItems()
{
    const QList<QAction *> actions = trayMenu()->actions();
    QStringList texts;
    QList<bool> enabled;
    for (QAction *action : actions) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        enabled << action->isEnabled();
    }
    QCOMPARE(texts, (QStringList{"&Einblenden", "Wähle Nr. in der &Zwischenablage", "&Wahlwiederholung", "An&rufliste",
                                 "-", "&Beenden", "-", "&Abbrechen"}));
    QCOMPARE(enabled, (QList<bool>{true, true, false, true, true, true, true, true}));
    QStringList names;
    for (QAction *action : actions)
        names << action->objectName();
    QCOMPARE(names, (QStringList{"showAction", "dialClipboardAction", "redialAction", "callListAction", "", "endAction",
                                 "", "cancelAction"}));
}

void TestTrayController::menuShape()
{
    QMenu *menu = trayMenu();
    QCOMPARE(menu->title(), QStringLiteral("Taskleiste"));
    QCOMPARE(menu->defaultAction(), trayItem("cancelAction"));
    QVERIFY(trayItem("cancelAction")->font().bold());
    QVERIFY(!trayItem("showAction")->font().bold());
}

void TestTrayController::toolTip()
{
    const QString tip = TrayController::trayTip();
    QCOMPARE(tip, QStringLiteral(" Quirlanto: Klick links für Menü, rechts für Dialog ... "));
    const QString longText = QString(70, u'x');
    QCOMPARE(TrayController::cutToolTip(longText), QString(63, u'x'));
    QCOMPARE(TrayController::cutToolTip(QString(63, u'y')), QString(63, u'y'));
}

void TestTrayController::installAndRemove()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    m_tray->install(QIcon(pixmap));
    QVERIFY(m_icon->shown);
    QCOMPARE(m_icon->toolTip, TrayController::trayTip());
    QVERIFY(!m_icon->icon.isNull());
    m_tray->remove();
    QVERIFY(!m_icon->shown);
}

void TestTrayController::presses_data()
{
    QTest::addColumn<bool>("startShown");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<QString>("events");
    QTest::addColumn<bool>("endShown");
    QTest::addColumn<bool>("menuOpen");
    QTest::addColumn<int>("beeps");

    QTest::newRow("right press hides") << true << false << "R" << false << false << 0;
    QTest::newRow("right press shows") << false << false << "R" << true << false << 0;
    QTest::newRow("right press hides while busy") << true << true << "R" << false << false << 0;
    QTest::newRow("right press beeps while busy") << false << true << "R" << false << false << 1;
    QTest::newRow("two right presses") << false << false << "RR" << false << false << 0;
    QTest::newRow("left press opens the menu") << false << false << "L" << false << true << 0;
    QTest::newRow("left double-click: menu from the first press") << false << false << "Ll" << false << true << 0;
    QTest::newRow("double-clicks alone do nothing") << true << false << "lr" << true << false << 0;
    QTest::newRow("middle button does nothing") << true << false << "M" << true << false << 0;
}

void TestTrayController::presses()
{
    QFETCH(bool, startShown);
    QFETCH(bool, busy);
    QFETCH(QString, events);
    QFETCH(bool, endShown);
    QFETCH(bool, menuOpen);
    QFETCH(int, beeps);
    if (startShown)
        m_window->show();
    setModalOpen(busy);
    play(*m_icon, events);
    QCOMPARE(m_window->isVisible(), endShown);
    QCOMPARE(trayMenu()->isVisible(), menuOpen);
    QCOMPARE(m_beeps, beeps);
    QVERIFY(m_dials.isEmpty());
    trayMenu()->hide();
}

void TestTrayController::systemTrayReasons_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<int>("pressedButton"); // 0: no press reported
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("trigger is the left press") << int(QSystemTrayIcon::Trigger) << int(Qt::LeftButton) << false;
    QTest::newRow("context is the right press") << int(QSystemTrayIcon::Context) << int(Qt::RightButton) << false;
    QTest::newRow("double-click") << int(QSystemTrayIcon::DoubleClick) << 0 << true;
    QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << 0 << false;
    QTest::newRow("unknown") << int(QSystemTrayIcon::Unknown) << 0 << false;
}

void TestTrayController::systemTrayReasons()
{
    QFETCH(int, reason);
    QFETCH(int, pressedButton);
    QFETCH(bool, doubleClick);
    SystemTrayIcon icon;
    icon.setToolTip(QString()); // makes the platform's icon
    auto *platformIcon = icon.findChild<QSystemTrayIcon *>();
    QVERIFY(platformIcon);
    QSignalSpy presses(&icon, &TrayIcon::pressed);
    QSignalSpy doubles(&icon, &TrayIcon::doubleClicked);
    emit platformIcon->activated(QSystemTrayIcon::ActivationReason(reason));
    QCOMPARE(presses.size(), pressedButton ? 1 : 0);
    if (pressedButton)
        QCOMPARE(presses.first().first().value<Qt::MouseButton>(), Qt::MouseButton(pressedButton));
    QCOMPARE(doubles.size(), doubleClick ? 1 : 0);
    QVERIFY(!platformIcon->contextMenu()); // else XEmbed trays open it on the right press
}

void TestTrayController::menuActions()
{
    trayItem("dialClipboardAction")->trigger();
    trayItem("cancelAction")->trigger();
    QCOMPARE(m_dials, QList<DialMode>{DialMode::Clipboard});
    QCOMPARE(m_ends, 0);
    QVERIFY(!m_window->isVisible());

    setModalOpen(true);
    trayItem("showAction")->trigger();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_beeps, 1);
    setModalOpen(false);
    trayItem("showAction")->trigger();
    QVERIFY(m_window->isVisible());
    trayItem("showAction")->trigger(); // already shown: stays so
    QVERIFY(m_window->isVisible());

    trayItem("endAction")->trigger();
    QCOMPARE(m_ends, 1);
}

void TestTrayController::redialItem()
{
    QAction *redial = trayItem("redialAction");
    QVERIFY(!redial->isEnabled());
    redial->trigger(); // greyed: nothing
    QVERIFY(m_dials.isEmpty());
    m_tray->enableRedial();
    QVERIFY(redial->isEnabled());
    redial->trigger();
    QCOMPARE(m_dials, QList<DialMode>{DialMode::Redial});
}

void TestTrayController::quickSecondPressChoosesNothing()
{
    QApplication::setDoubleClickInterval(300);
    QMenu *menu = trayMenu();
    emit m_icon->pressed(Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    const QPoint onShow = menu->actionGeometry(trayItem("showAction")).center();

    // The second press of a double-click lands on "&Einblenden" right after the menu opened.
    QTest::mouseDClick(menu, Qt::LeftButton, {}, onShow);
    QTest::mouseClick(menu, Qt::LeftButton, {}, onShow);
    QVERIFY(!m_window->isVisible());
    QVERIFY(menu->isVisible());

    // A deliberate choice after the interval works.
    QTest::qWait(350);
    QTest::mouseClick(menu, Qt::LeftButton, {}, onShow);
    QTRY_VERIFY(m_window->isVisible());
    QVERIFY(!menu->isVisible());
}

void TestTrayController::withoutTrayMinimises()
{
    m_icon->available = false;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_tray->hideMainWindow();
    QVERIFY(m_window->isVisible());
    QVERIFY(m_window->isMinimized());

    m_icon->available = true;
    emit m_icon->pressed(Qt::RightButton); // a minimised window counts as out of sight
    QVERIFY(m_window->isVisible());
    QVERIFY(!m_window->isMinimized());
    m_tray->hideMainWindow();
    QVERIFY(!m_window->isVisible());
}

QTEST_MAIN(TestTrayController)
#include "tst_traycontroller.moc"
