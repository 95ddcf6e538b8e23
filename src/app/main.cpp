#include "app/desktopintegration.h"
#include "app/firstpaintprobe.h"
#include "app/mainwindow.h"
#include "app/sessionend.h"
#include "app/startargumenthandler.h"
#include "app/startup.h"
#include "dial/clipboardsource.h"
#include "dial/dialer.h"
#include "dial/modemdial.h"
#include "dial/modemlink.h"
#include "dial/phoneprogram.h"
#include "dial/tonedial.h"
#include "dial/toneplayer.h"
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

    SessionEnd sessionEnd;

    if (!startProgram({book, window, settingsStore, &dialer, &desktop, &sessionEnd, &modem}, arguments))
        return 1;
    desktop.afterStart();
    if (qEnvironmentVariableIsSet("QUIRLANTO_STARTUP_PROBE"))
        installFirstPaintProbe(&window);
    return app.exec();
}
