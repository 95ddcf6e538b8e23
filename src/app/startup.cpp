#include "app/startup.h"

#include "app/desktopintegration.h"
#include "app/mainwindow.h"
#include "app/sessionend.h"
#include "app/startargumenthandler.h"
#include "app/traycontroller.h"
#include "calls/callsession.h"
#include "dial/dialer.h"
#include "dial/modemlink.h"
#include "register/namelistcontroller.h"
#include "register/registerdocument.h"
#include "support/autostart.h"
#include "support/programdirectory.h"
#include "support/windowplacement.h"

namespace quirlanto {

namespace {

void connectDialer(const ProgramParts &parts)
{
    Dialer *dialer = parts.dialer;
    QObject::connect(&parts.window, &MainWindow::dialRequested, dialer, &Dialer::dial);
    QObject::connect(&parts.window, &MainWindow::programEnding, dialer, &Dialer::cancel);
    if (parts.modem)
        QObject::connect(&parts.window, &MainWindow::showModemAnswerRequested, parts.modem,
                         [&window = parts.window, modem = parts.modem] { modem->showModemAnswer(&window); });
    if (DesktopIntegration *desktop = parts.desktop) {
        QObject::connect(desktop->tray(), &TrayController::dialRequested, dialer, &Dialer::dial);
        QObject::connect(dialer, &Dialer::redialAvailable, desktop->tray(), &TrayController::enableRedial);
        StartArgumentHandler *startArguments = desktop->startArguments();
        QObject::connect(startArguments, &StartArgumentHandler::dialNumberRequested, dialer, &Dialer::dialNumber);
        QObject::connect(startArguments, &StartArgumentHandler::dialRequested, dialer, &Dialer::dial);
        // A link that comes while a dial runs is asked about once the dial has ended.
        startArguments->setWaitWhile([dialer] { return dialer->isDialing(); });
        QObject::connect(dialer, &Dialer::dialEnded, startArguments, &StartArgumentHandler::resume,
                         Qt::QueuedConnection);
    }
}

void connectCalls(const ProgramParts &parts)
{
    CallSession *calls = parts.calls;
    MainWindow &window = parts.window;
    QObject::connect(&window, &MainWindow::callListRequested, calls, &CallSession::showCallList);
    // Queued: the requests come from the bus or a list's key press, not from inside a dialog.
    QObject::connect(calls, &CallSession::addToRegisterRequested, &window, &MainWindow::addNumberToRegister,
                     Qt::QueuedConnection);
    if (Dialer *dialer = parts.dialer) {
        QObject::connect(dialer, &Dialer::dialed, calls, &CallSession::recordDial);
        QObject::connect(calls, &CallSession::callBackRequested, dialer, &Dialer::dialNumberFor, Qt::QueuedConnection);
    }
    if (DesktopIntegration *desktop = parts.desktop) {
        QObject::connect(desktop->tray(), &TrayController::callListRequested, calls, &CallSession::showCallList);
        QObject::connect(desktop->startArguments(), &StartArgumentHandler::callListRequested, calls,
                         &CallSession::showCallList, Qt::QueuedConnection);
    }
}

void connectDesktop(const ProgramParts &parts)
{
    MainWindow &window = parts.window;
    if (!parts.desktop) {
        QObject::connect(&window, &MainWindow::hideRequested, &window, &QWidget::hide);
        return;
    }
    TrayController *tray = parts.desktop->tray();
    StartArgumentHandler *startArguments = parts.desktop->startArguments();
    QObject::connect(&window, &MainWindow::hideRequested, tray, &TrayController::hideMainWindow);
    QObject::connect(&window, &MainWindow::programEnding, tray, &TrayController::remove);
    QObject::connect(tray, &TrayController::endRequested, &window, &MainWindow::endProgram);
    startArguments->setRegister(&parts.book);
    QObject::connect(startArguments, &StartArgumentHandler::showWindowRequested, tray, &TrayController::showMainWindow);
    QObject::connect(startArguments, &StartArgumentHandler::vCardFileRequested, window.nameLists(),
                     &NameListController::importVCardFile, Qt::QueuedConnection);
    new AutostartSwitch(window.autostartCheckBox(), programFilePath());
}

void connectSessionEnd(const ProgramParts &parts)
{
    MainWindow &window = parts.window;
    // A signal or the session manager ends the program as "&Ende" does.
    QObject::connect(parts.sessionEnd, &SessionEnd::endRequested, &window, &MainWindow::endProgram);
    QObject::connect(parts.sessionEnd, &SessionEnd::saveRequested, &window, [&window, &store = parts.settingsStore] {
        if (window.currentTab() == MainWindow::kOptionsTab)
            window.saveOptionControls();
        saveWindowPlacement(window, store);
    });
}

void connectProgram(const ProgramParts &parts)
{
    MainWindow &window = parts.window;
    if (parts.sessionEnd)
        connectSessionEnd(parts);
    connectDesktop(parts);
    if (parts.dialer)
        connectDialer(parts);
    if (parts.calls)
        connectCalls(parts);
    // After the tray icon is gone, as the last step of the end.
    QObject::connect(&window, &MainWindow::programEnding, &window,
                     [&window, &store = parts.settingsStore] { saveWindowPlacement(window, store); });
}

} // namespace

QString commandLine(const QStringList &arguments)
{
    return arguments.join(u' ').trimmed();
}

bool isAutostartCommandLine(const QStringList &arguments)
{
    return commandLine(arguments).compare(QLatin1String(kAutostartSwitch), Qt::CaseInsensitive) == 0;
}

bool startProgram(const ProgramParts &parts, const QStringList &arguments)
{
    MainWindow &window = parts.window;
    restoreWindowPlacement(window, parts.settingsStore);
    connectProgram(parts);
    window.setStartedHidden(isAutostartCommandLine(arguments));
    if (!window.loadFiles())
        return false;
    if (!window.startedHidden())
        window.show();
    return true;
}

} // namespace quirlanto
