#include "support/desktopopen.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <memory>

namespace quirlanto {

void openWithDesktop(const QString &program, const QString &target, std::function<void(bool handedOver)> handedOver,
                     int handOverMs)
{
    // Left to itself when it ends: its destructor would take the started program along.
    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments({target});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    auto answer = std::make_shared<std::function<void(bool)>>(std::move(handedOver));
    const auto tell = [answer](bool ok) {
        if (const auto told = std::exchange(*answer, nullptr))
            told(ok);
    };
    auto *handOver = new QTimer(process);
    handOver->setSingleShot(true);
    QObject::connect(handOver, &QTimer::timeout, process, [tell] { tell(true); });
    QObject::connect(process, &QProcess::finished, process, [process, tell](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        tell(status == QProcess::NormalExit && code == 0);
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, tell](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        process->deleteLater();
        tell(false);
    });
    handOver->start(handOverMs);
    process->start();
}

std::optional<QHash<QString, QString>> readDesktopEntry(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QHash<QString, QString> keys;
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inMainGroup && equals > 0)
            keys.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return keys;
}

} // namespace quirlanto
