#include "app/startup.h"

#include "app/mainwindow.h"
#include "dial/modemlink.h"
#include "options/optionspage.h"
#include "providers/providerlistcontroller.h"
#include "support/autostart.h"
#include "support/windowplacement.h"

namespace quirlanto {

QString commandLine(const QStringList &arguments)
{
    return arguments.join(u' ').trimmed();
}

bool isAutostartCommandLine(const QStringList &arguments)
{
    return commandLine(arguments).compare(QLatin1String(kAutostartSwitch), Qt::CaseInsensitive) == 0;
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
        showPortDevicesAsToolTips(page->portList(), window.settingsStore());
    });
    if (!window.loadFiles())
        return false;
    if (!window.startedHidden())
        window.show();
    return true;
}

} // namespace quirlanto
