#include "app/startup.h"

#include "app/mainwindow.h"
#include "options/optionspage.h"
#include "providers/providerlistcontroller.h"
#include "support/windowplacement.h"

#include <QCoreApplication>

namespace quirlanto {

bool isAutostartCommandLine(const QStringList &arguments)
{
    return arguments.join(QLatin1Char(' ')).trimmed().compare(QStringLiteral("/AUTOSTART"), Qt::CaseInsensitive) == 0;
}

bool startProgram(MainWindow &window, const QStringList &arguments)
{
    restoreWindowPlacement(window, window.settingsStore());
    window.setStartedHidden(isAutostartCommandLine(arguments));
    QObject::connect(&window, &MainWindow::optionsPageCreated, &window, [&window](OptionsPage *page) {
        auto *providerList = new ProviderListController(window.providerTable(), window.dataPaths().providerPath,
                                                        window.dataPaths().providerBackupPath, page->providerSwitch(),
                                                        page->providerListArea(), &window);
        QObject::connect(&window, &MainWindow::filesLoaded, providerList, [&window, providerList] {
            providerList->setFilePaths(window.dataPaths().providerPath, window.dataPaths().providerBackupPath);
            providerList->refresh();
        });
    });
    if (!window.loadFiles())
        return false;
    if (!window.startedHidden())
        window.show();
    return true;
}

} // namespace quirlanto
