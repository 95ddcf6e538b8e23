// Loudspeaker dial of one command line, as its own process so each run meets the sound server
// (or its absence) afresh. Prints the wall time and the summed length of the files played.
// Usage: playtones <program folder> <command line>   ("\r" may be written as "\\r")

#include "dial/modemcommand.h"
#include "dial/toneplayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextStream>

#include <cstdlib>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: playtones <program folder> <command line>\n";
        return 2;
    }
    const QString folder = args.at(1);
    QString line = args.at(2);
    line.replace(QLatin1String("\\r"), QLatin1String("\r"));

    qint64 filesUs = 0;
    for (const QString &tone : quirlanto::tonePlan(line)) {
        if (auto clip = quirlanto::readWavFile(quirlanto::toneFilePath(folder, tone)))
            filesUs += clip->durationUs();
    }
    quirlanto::QtToneOutput output(folder);
    QElapsedTimer timer;
    timer.start();
    QEventLoop dialing;
    bool done = false;
    output.play(quirlanto::toneFiles(line, folder), [&](const QString &problem) {
        const qint64 wallUs = timer.nsecsElapsed() / 1000;
        if (!problem.isEmpty())
            QTextStream(stderr) << problem << Qt::endl;
        QTextStream(stdout) << "wall_us=" << wallUs << " files_us=" << filesUs << Qt::endl;
        done = true;
        dialing.quit();
    });
    if (!done) // without a sound server it ends at once
        dialing.exec();
    // The next dial starts while the last player is still being let go.
    output.play(quirlanto::toneFiles(line, folder).mid(0, 1), [](const QString &) {});
    output.stop();
    // The sound library can trip over its own assertions while the audio engine is torn down
    // at exit; the dial is over and measured, so leave without that teardown.
    std::_Exit(0);
}
