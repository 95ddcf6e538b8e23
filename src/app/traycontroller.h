#pragma once

#include "dial/dialmode.h"

#include <QElapsedTimer>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class QAbstractNativeEventFilter;
class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace quirlanto {

// The notification-area icon as the tray code sees it: presses, not clicks.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void setIcon(const QIcon &icon) = 0;
    virtual void setToolTip(const QString &text) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    // Whether a notification area is there to hold the icon at the moment.
    virtual bool isAvailable() const = 0;
    // A message beside the icon, where the desktop has no notification service.
    virtual void showMessage(const QString &title, const QString &body) = 0;

signals:
    void pressed(Qt::MouseButton button);
    void doubleClicked(Qt::MouseButton button);
};

// XEmbed trays report Trigger on the left press and Context on the right press; status
// notifier hosts report the same reasons for their own clicks.
class SystemTrayIcon final : public TrayIcon {
    Q_OBJECT
public:
    explicit SystemTrayIcon(QObject *parent = nullptr);
    ~SystemTrayIcon() override;
    void setIcon(const QIcon &icon) override;
    void setToolTip(const QString &text) override;
    void show() override;
    void hide() override;
    bool isAvailable() const override;
    void showMessage(const QString &title, const QString &body) override;

private:
    QSystemTrayIcon *systemTrayIcon() const;

    // Made on first use, so the first paint does not wait for the platform's tray set-up.
    mutable QSystemTrayIcon *m_icon = nullptr;
    std::unique_ptr<QAbstractNativeEventFilter> m_blockedPresses;
};

class TrayController : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxToolTipLength = 63;

    TrayController(TrayIcon *icon, QWidget *mainWindow, QObject *parent = nullptr);
    ~TrayController() override;

    static QString trayTip();
    static QString cutToolTip(const QString &text);

    void setBeep(std::function<void()> beep) { m_beep = std::move(beep); }

    // Icon and tooltip into the notification area, and out again.
    void install(const QIcon &icon);
    void remove();

    bool trayAvailable() const { return m_icon->isAvailable(); }

    // Out of sight: hidden when a tray can bring the window back, otherwise minimised.
    void hideMainWindow();

signals:
    void dialRequested(quirlanto::DialMode mode);
    // "&Beenden"
    void endRequested();
    // "An&rufliste"
    void callListRequested();

public slots:
    void toggleMainWindow();
    void showMainWindow();
    void enableRedial();
    void showMessage(const QString &title, const QString &body) { m_icon->showMessage(title, body); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showTrayMenu();
    void onPressed(Qt::MouseButton button);
    bool mainWindowShown() const;

    TrayIcon *m_icon;
    QPointer<QWidget> m_mainWindow;
    std::unique_ptr<QMenu> m_menu;
    QAction *m_showAction;
    QAction *m_dialClipboardAction;
    QAction *m_redialAction;
    QAction *m_callListAction;
    QAction *m_endAction;
    QAction *m_cancelAction;
    bool m_removed = false; // an install still queued at the end must not bring the icon back
    std::function<void()> m_beep;
    QElapsedTimer m_poppedUp;
    bool m_swallowRelease = false;
};

} // namespace quirlanto
