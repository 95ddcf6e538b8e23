#include "app/desktopintegration.h"
#include "app/firstpaintprobe.h"
#include "app/mainwindow.h"
#include "app/sessionend.h"
#include "app/startup.h"
#include "dial/clipboardsource.h"
#include "dial/dialer.h"
#include "dial/modemlink.h"
#include "dial/toneplayer.h"
#include "support/clock.h"
#include "support/helplinks.h"
#include "support/settingsstore.h"
#include "support/windowplacement.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The close box only hides the window; "&Ende" ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    const QStringList arguments = QApplication::arguments().mid(1);
    quirlanto::DesktopIntegration desktop(arguments);
    if (!desktop.claimSingleInstance())
        return desktop.exitCode();

    quirlanto::QtSettingsStore settingsStore;
    quirlanto::MainWindow window(settingsStore, quirlanto::desktopUrlOpener());
    desktop.attach(window);

    quirlanto::QtClipboardSource clipboard;
    quirlanto::ModemLink modem(settingsStore);
    quirlanto::QtToneOutput tones;
    quirlanto::SystemClock clock;
    quirlanto::Dialer dialer(window, clipboard, modem, tones, clock);
    window.setDialCommand([&dialer](quirlanto::DialMode mode) { dialer.dial(mode); });
    window.setShowModemAnswerCommand([&dialer] { dialer.showModemAnswer(); });
    desktop.setDialer(&dialer);

    if (!quirlanto::startProgram(window, arguments))
        return 1;
    // A signal or the session manager ends the program as "&Ende" does.
    quirlanto::SessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &quirlanto::SessionEnd::endRequested, &window, &quirlanto::MainWindow::endProgram);
    QObject::connect(&sessionEnd, &quirlanto::SessionEnd::saveRequested, &window, [&window, &settingsStore] {
        if (window.currentTab() == quirlanto::MainWindow::kOptionsTab)
            window.saveOptionControls();
        quirlanto::saveWindowPlacement(window, settingsStore);
    });
    desktop.afterStart();
    if (qEnvironmentVariableIsSet("QUIRLANTO_STARTUP_PROBE"))
        quirlanto::installFirstPaintProbe(&window);
    return app.exec();
}
