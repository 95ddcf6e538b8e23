#include "app/startup.h"

#include "app/mainwindow.h"
#include "providers/providerlistcontroller.h"
#include "support/windowplacement.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>

namespace quirlanto {

namespace {

// With QUIRLANTO_STARTUP_PROBE set the program prints "shown" once its window has been painted
// and ends: the start-up benchmark measures the time to that line.
class StartupProbe final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QTimer::singleShot(0, qApp, [] {
                std::fputs("shown\n", stdout);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

} // namespace

bool isAutostartCommandLine(const QStringList &arguments)
{
    return arguments.join(QLatin1Char(' ')).trimmed().compare(QStringLiteral("/AUTOSTART"), Qt::CaseInsensitive) == 0;
}

bool startProgram(MainWindow &window, const QStringList &arguments)
{
    restoreWindowPlacement(window, window.settingsStore());
    window.setStartedHidden(isAutostartCommandLine(arguments));
    auto *providerList = new ProviderListController(window.providerTable(), window.dataPaths().providerPath,
                                                    window.dataPaths().providerBackupPath, window.providerSwitch(),
                                                    window.providerListArea(), &window);
    QObject::connect(&window, &MainWindow::filesLoaded, providerList, [&window, providerList] {
        providerList->setFilePaths(window.dataPaths().providerPath, window.dataPaths().providerBackupPath);
        providerList->refresh();
    });
    if (!window.loadFiles())
        return false;
    if (!window.startedHidden())
        window.show();
    if (qEnvironmentVariableIsSet("QUIRLANTO_STARTUP_PROBE"))
        window.installEventFilter(new StartupProbe(&window));
    return true;
}

} // namespace quirlanto
