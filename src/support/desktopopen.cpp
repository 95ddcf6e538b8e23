#include "support/desktopopen.h"

#include <QElapsedTimer>
#include <QProcess>

namespace quirlanto {

bool openWithDesktop(const QString &program, const QString &target, std::function<void()> failed, int handOverMs)
{
    // Left to itself when it ends: its destructor would take the started program along.
    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments({target});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer started;
    started.start();
    QObject::connect(process, &QProcess::finished, process,
                     [process, started, handOverMs, failed = std::move(failed)](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if ((status != QProcess::NormalExit || code != 0) && !started.hasExpired(handOverMs) && failed)
                             failed();
                     });
    process->start();
    if (!process->waitForStarted(5000)) {
        delete process;
        return false;
    }
    return true;
}

} // namespace quirlanto
