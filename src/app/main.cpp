#include "app/desktopintegration.h"
#include "app/firstpaintprobe.h"
#include "app/mainwindow.h"
#include "app/sessionend.h"
#include "app/startargumenthandler.h"
#include "app/startup.h"
#include "app/traycontroller.h"
#include "calls/callsession.h"
#include "calls/callstore.h"
#include "calls/networkconnections.h"
#include "dial/clipboardsource.h"
#include "dial/dialer.h"
#include "dial/modemdial.h"
#include "dial/modemlink.h"
#include "dial/phoneprogram.h"
#include "dial/tonedial.h"
#include "dial/toneplayer.h"
#include "fritzbox/boxpassworddialog.h"
#include "fritzbox/fritzboxdial.h"
#include "register/registerdocument.h"
#include "support/clock.h"
#include "support/contextmenukey.h"
#include "support/datadirectory.h"
#include "support/helplinks.h"
#include "support/qttranslation.h"
#include "support/settingsstore.h"
#include "support/version.h"

#include <QApplication>

using namespace quirlanto;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The window's link to its launcher on Wayland; a program folder's launcher is quirlanto.desktop.
    if (quirlanto::isSystemInstall())
        QApplication::setDesktopFileName(QString::fromLatin1(quirlanto::kAppId));
    // The close box only hides the window; "&Ende" ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    quirlanto::installGermanQtTexts();
    installContextMenuKey(&app);

    const QStringList arguments = StartArgumentHandler::withAbsoluteFiles(QApplication::arguments().mid(1));
    DesktopIntegration desktop(arguments);
    if (!desktop.claimSingleInstance())
        return desktop.exitCode();

    QtSettingsStore settingsStore;
    RegisterDocument book(DataPaths::inDirectory(dataDirectory()));
    book.setChoiceStore(&settingsStore);
    MainWindow window(book, settingsStore, desktopUrlOpener());
    desktop.attach(window);

    QtClipboardSource clipboard;
    SystemClock clock;
    Dialer dialer(book, window, clipboard, clock);
    ModemLink modem(settingsStore);
    ModemDial modemDial(modem);
    QtToneOutput tones;
    ToneDial toneDial(tones, resourceDirectory());
    PhoneProgramDial phoneProgram;
    dialer.setBackend(DialDevice::Modem, &modemDial);
    dialer.setBackend(DialDevice::Loudspeaker, &toneDial);
    dialer.setBackend(DialDevice::PhoneProgram, &phoneProgram);
    // The network module is loaded by the first call that needs it, not here.
    FritzBoxLink boxLink;
    BoxPasswordDialogPrompt boxPasswordPrompt([&book] { return book.fritzBox(); }, &window);
    BoxPasswords boxPasswords;
    boxPasswords.setPrompt(&boxPasswordPrompt);
    window.setBoxPasswords(&boxPasswords);
    FritzBoxDial boxDial(boxLink, boxPasswords, [&book] { return book.fritzBox(); });
    dialer.setBackend(DialDevice::FritzBox, &boxDial);

    SessionEnd sessionEnd;
    CallSession calls(
        book, dataDirectory() + QLatin1String(kCallListFileName), networkLineConnections(),
        [&desktop](const QString &summary, const QString &body) { desktop.showNotice(summary, body); },
        &window);

    if (!startProgram({book, window, settingsStore, &dialer, &desktop, &sessionEnd, &modem, &calls}, arguments))
        return 1;
    desktop.afterStart();
    // The router's call monitor needs the network module: only once the window is on screen.
    if (window.startedHidden())
        QTimer::singleShot(0, &calls, [&calls] { calls.startMonitor(); });
    else
        new AfterFirstPaint(
            &window, &calls, [&calls] { calls.startMonitor(); }, 500);
    if (qEnvironmentVariableIsSet("QUIRLANTO_STARTUP_PROBE"))
        installFirstPaintProbe(&window);
    return app.exec();
}
