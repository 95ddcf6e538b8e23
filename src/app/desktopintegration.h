#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QStringList>

namespace quirlanto {

class MainWindow;
class SingleInstance;
class StartArgumentHandler;
class TrayController;
class TrayIcon;

// The program's place on the desktop: one running copy, the tray icon and menu, the
// autostart box, and tel: links handed over by later starts.
class DesktopIntegration : public QObject {
    Q_OBJECT
public:
    explicit DesktopIntegration(const QStringList &arguments, QObject *parent = nullptr);
    ~DesktopIntegration() override;

    static QIcon applicationIcon();
    // The program-wide icon (dialogs, windows without their own), set on first need; returned.
    static QIcon giveProgramIcon();

    // Before the main window exists. False: a running copy took the arguments (or hangs), and
    // this copy ends with exitCode().
    bool claimSingleInstance();
    int exitCode() const { return m_exitCode; }

    // Before startProgram: the tray icon and menu for the window. The icons themselves come
    // with afterStart(). The tray icon is a SystemTrayIcon unless one is given (tests).
    void attach(MainWindow &window, TrayIcon *icon = nullptr);
    // After startProgram: a hidden start without a tray is minimised instead; a tel: link on
    // the command line is offered.
    void afterStart();

    // Where no notification service answers: the tray's message, or without a tray (a bare
    // compositor) the window's status bar, so a call is never silent.
    void showNotice(const QString &summary, const QString &body);

    TrayController *tray() const { return m_tray; }
    StartArgumentHandler *startArguments() const { return m_startArguments; }

private:
    QStringList m_arguments;
    int m_exitCode = 0;
    SingleInstance *m_instance = nullptr;
    StartArgumentHandler *m_startArguments = nullptr;
    TrayController *m_tray = nullptr;
    QPointer<MainWindow> m_window;
};

} // namespace quirlanto
