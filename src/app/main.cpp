#include "app/mainwindow.h"
#include "app/startup.h"
#include "support/helplinks.h"
#include "support/settingsstore.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The close box only hides the window; "&Ende" ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    quirlanto::QtSettingsStore settingsStore;
    quirlanto::MainWindow window(settingsStore, quirlanto::desktopUrlOpener());
    if (!quirlanto::startProgram(window, QApplication::arguments().mid(1)))
        return 1;
    return app.exec();
}
