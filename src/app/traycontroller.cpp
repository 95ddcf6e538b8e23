#include "app/traycontroller.h"

#include "support/version.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QWidget>

namespace quirlanto {

SystemTrayIcon::SystemTrayIcon(QObject *parent)
    : TrayIcon(parent)
{}

QSystemTrayIcon *SystemTrayIcon::systemTrayIcon() const
{
    if (m_icon)
        return m_icon;
    auto *self = const_cast<SystemTrayIcon *>(this);
    m_icon = new QSystemTrayIcon(self);
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

TrayController::TrayController(TrayIcon *icon, QWidget *mainWindow, QObject *parent)
    : QObject(parent)
    , m_icon(icon)
    , m_mainWindow(mainWindow)
    , m_menu(std::make_unique<QMenu>())
    , m_beep([] { QApplication::beep(); })
{
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    m_menu->setTitle(QStringLiteral("Taskleiste"));
    const auto add = [this](int index, const QString &text, auto reaction) {
        QAction *action = text.isEmpty() ? m_menu->addSeparator() : m_menu->addAction(text);
        action->setObjectName(itemName(index));
        if constexpr (!std::is_same_v<decltype(reaction), std::nullptr_t>)
            connect(action, &QAction::triggered, this, reaction);
        return action;
    };
    add(Show, QStringLiteral("&Einblenden"), [this] { showMainWindow(); });
    add(DialClipboard, QStringLiteral("Wähle Nr. in der &Zwischenablage"),
        [this] { emit dialRequested(DialMode::Clipboard); });
    m_redialAction = add(Redial, QStringLiteral("&Wahlwiederholung"), [this] { emit dialRequested(DialMode::Redial); });
    m_redialAction->setEnabled(false);
    add(4, QString(), nullptr);
    add(End, QStringLiteral("&Beenden"), [this] { emit endRequested(); });
    add(6, QString(), nullptr);
    QAction *cancel = add(Cancel, QStringLiteral("&Abbrechen"), nullptr);
    QFont bold = cancel->font();
    bold.setBold(true);
    cancel->setFont(bold);
    m_menu->setDefaultAction(cancel);
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

QString TrayController::itemName(int index)
{
    switch (index) {
    case Show:
        return QStringLiteral("showAction");
    case DialClipboard:
        return QStringLiteral("dialClipboardAction");
    case Redial:
        return QStringLiteral("redialAction");
    case End:
        return QStringLiteral("endAction");
    case Cancel:
        return QStringLiteral("cancelAction");
    default:
        return QStringLiteral("separator%1").arg(index);
    }
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
