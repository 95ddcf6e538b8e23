#include "app/traycontroller.h"

#include "support/version.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QWidget>

#include <algorithm>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

namespace quirlanto {

namespace {

// While a modal window is open, Qt drops the presses on an XEmbed tray icon's own window like
// those on any other window of the program; the icon must still answer them.
class BlockedTrayPresses final : public QAbstractNativeEventFilter {
public:
    explicit BlockedTrayPresses(TrayIcon &icon)
        : m_icon(icon)
    {}
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t" || !QApplication::activeModalWidget())
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        xcb_window_t window = XCB_NONE;
        quint32 button = 0;
        if ((event->response_type & ~0x80) == XCB_BUTTON_PRESS) {
            const auto *press = static_cast<const xcb_button_press_event_t *>(message);
            window = press->event;
            button = press->detail;
        } else if ((event->response_type & ~0x80) == XCB_GE_GENERIC) {
            // Qt takes the mouse through the X input extension.
            const auto *press = static_cast<const xcb_input_button_press_event_t *>(message);
            if (press->extension != inputExtension() || press->event_type != XCB_INPUT_BUTTON_PRESS)
                return false;
            window = press->event;
            button = press->detail;
        }
        if (window == XCB_NONE || !isTrayIconWindow(window))
            return false;
        if (button == XCB_BUTTON_INDEX_1)
            emit m_icon.pressed(Qt::LeftButton);
        else if (button == XCB_BUTTON_INDEX_3)
            emit m_icon.pressed(Qt::RightButton);
        return true;
    }

private:
    static bool isTrayIconWindow(xcb_window_t window)
    {
        const QWidgetList widgets = QApplication::topLevelWidgets();
        return std::any_of(widgets.cbegin(), widgets.cend(), [window](const QWidget *w) {
            return w->internalWinId() == window && qstrcmp(w->metaObject()->className(), "QSystemTrayIconSys") == 0;
        });
    }

    // The major opcode of the X input extension, asked once.
    static quint8 inputExtension()
    {
        static const quint8 opcode = [] {
            const auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
            xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
            if (!connection)
                return quint8(0);
            const char name[] = "XInputExtension";
            xcb_query_extension_reply_t *reply =
                xcb_query_extension_reply(connection, xcb_query_extension(connection, sizeof(name) - 1, name), nullptr);
            const quint8 major = reply && reply->present ? reply->major_opcode : 0;
            free(reply);
            return major;
        }();
        return opcode;
    }

    TrayIcon &m_icon;
};

} // namespace

SystemTrayIcon::SystemTrayIcon(QObject *parent)
    : TrayIcon(parent)
{}

SystemTrayIcon::~SystemTrayIcon()
{
    if (m_blockedPresses)
        QCoreApplication::instance()->removeNativeEventFilter(m_blockedPresses.get());
}

QSystemTrayIcon *SystemTrayIcon::systemTrayIcon() const
{
    if (m_icon)
        return m_icon;
    auto *self = const_cast<SystemTrayIcon *>(this);
    m_icon = new QSystemTrayIcon(self);
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        self->m_blockedPresses = std::make_unique<BlockedTrayPresses>(*self);
        QCoreApplication::instance()->installNativeEventFilter(self->m_blockedPresses.get());
    }
    // No context menu is set on purpose: with one, XEmbed trays open it on the right press.
    connect(m_icon, &QSystemTrayIcon::activated, self, [self](QSystemTrayIcon::ActivationReason reason) {
        switch (reason) {
        case QSystemTrayIcon::Trigger:
            emit self->pressed(Qt::LeftButton);
            break;
        case QSystemTrayIcon::Context:
            emit self->pressed(Qt::RightButton);
            break;
        case QSystemTrayIcon::DoubleClick:
            emit self->doubleClicked(Qt::LeftButton);
            break;
        case QSystemTrayIcon::MiddleClick:
        case QSystemTrayIcon::Unknown:
            break;
        }
    });
    return m_icon;
}

void SystemTrayIcon::setIcon(const QIcon &icon)
{
    systemTrayIcon()->setIcon(icon);
}
void SystemTrayIcon::setToolTip(const QString &text)
{
    systemTrayIcon()->setToolTip(text);
}
void SystemTrayIcon::show()
{
    systemTrayIcon()->show();
}
void SystemTrayIcon::hide()
{
    if (m_icon)
        m_icon->hide();
}
bool SystemTrayIcon::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}
void SystemTrayIcon::showMessage(const QString &title, const QString &body)
{
    systemTrayIcon()->showMessage(title, body);
}

TrayController::TrayController(TrayIcon *icon, QWidget *mainWindow, QObject *parent)
    : QObject(parent)
    , m_icon(icon)
    , m_mainWindow(mainWindow)
    , m_menu(std::make_unique<QMenu>())
    , m_beep([] { QApplication::beep(); })
{
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    m_menu->setTitle(QStringLiteral("Taskleiste"));
    const auto add = [this](const char *name, const QString &text) {
        QAction *action = m_menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    m_showAction = add("showAction", QStringLiteral("&Einblenden"));
    m_dialClipboardAction = add("dialClipboardAction", QStringLiteral("Wähle Nr. in der &Zwischenablage"));
    m_redialAction = add("redialAction", QStringLiteral("&Wahlwiederholung"));
    m_redialAction->setEnabled(false);
    m_callListAction = add("callListAction", QStringLiteral("An&rufliste"));
    m_menu->addSeparator();
    m_endAction = add("endAction", QStringLiteral("&Beenden"));
    m_menu->addSeparator();
    m_cancelAction = add("cancelAction", QStringLiteral("&Abbrechen"));
    connect(m_showAction, &QAction::triggered, this, &TrayController::showMainWindow);
    connect(m_dialClipboardAction, &QAction::triggered, this, [this] { emit dialRequested(DialMode::Clipboard); });
    connect(m_redialAction, &QAction::triggered, this, [this] { emit dialRequested(DialMode::Redial); });
    connect(m_callListAction, &QAction::triggered, this, &TrayController::callListRequested);
    connect(m_endAction, &QAction::triggered, this, &TrayController::endRequested);
    QFont bold = m_cancelAction->font();
    bold.setBold(true);
    m_cancelAction->setFont(bold);
    m_menu->setDefaultAction(m_cancelAction);
    m_menu->installEventFilter(this);

    connect(m_icon, &TrayIcon::pressed, this, &TrayController::onPressed);
}

TrayController::~TrayController() = default;

QString TrayController::trayTip()
{
    return u' ' + QLatin1String(kProductName) + QStringLiteral(": Klick links für Menü, rechts für Dialog ... ");
}

QString TrayController::cutToolTip(const QString &text)
{
    return text.left(kMaxToolTipLength);
}

void TrayController::install(const QIcon &icon)
{
    if (m_removed)
        return;
    m_icon->setIcon(icon);
    m_icon->setToolTip(cutToolTip(trayTip()));
    m_icon->show();
}

void TrayController::remove()
{
    m_removed = true;
    m_menu->hide();
    m_icon->hide();
}

void TrayController::onPressed(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        showTrayMenu();
    else if (button == Qt::RightButton)
        toggleMainWindow();
}

void TrayController::showTrayMenu()
{
    if (m_mainWindow)
        m_mainWindow->activateWindow(); // so that a click elsewhere closes the menu
    m_poppedUp.start();
    m_swallowRelease = false;
    m_menu->popup(QCursor::pos());
}

bool TrayController::mainWindowShown() const
{
    return m_mainWindow && m_mainWindow->isVisible() && !m_mainWindow->isMinimized();
}

void TrayController::toggleMainWindow()
{
    if (mainWindowShown())
        hideMainWindow(); // also while a modal window is open
    else
        showMainWindow();
}

void TrayController::showMainWindow()
{
    if (QApplication::activeModalWidget()) {
        m_beep();
        return;
    }
    if (!m_mainWindow)
        return;
    m_mainWindow->setWindowState(m_mainWindow->windowState() & ~Qt::WindowMinimized);
    m_mainWindow->show();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

void TrayController::hideMainWindow()
{
    if (!m_mainWindow)
        return;
    if (trayAvailable())
        m_mainWindow->hide();
    else
        m_mainWindow->showMinimized(); // without a tray a hidden window could not come back
}

void TrayController::enableRedial()
{
    m_redialAction->setEnabled(true);
}

bool TrayController::eventFilter(QObject *watched, QEvent *event)
{
    // The menu opens under the pointer, so the second press of a double-click on the icon
    // lands on the first item: presses that quick are not meant for the menu.
    if (watched == m_menu.get()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (m_poppedUp.isValid() && m_poppedUp.elapsed() < QApplication::doubleClickInterval()) {
                m_swallowRelease = true;
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (m_swallowRelease) {
                m_swallowRelease = false;
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quirlanto
