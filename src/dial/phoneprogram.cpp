#include "dial/phoneprogram.h"

#include "dial/handoffecho.h"
#include "support/programdirectory.h"
#include "support/version.h"

#include <QFileInfo>

namespace quirlanto {

namespace {

// Launcher names under which the desktop knows this program.
const QStringList kOwnLauncherIds = {QStringLiteral("quirlanto.desktop"),
                                     QString::fromLatin1(kAppId) + QStringLiteral(".desktop")};

// A launcher of another name may still run this program: its file, or the program installed.
// Handing a number to it would only bring the number back here.
bool launchesThisProgram(const DesktopLauncher &launcher)
{
    if (kOwnLauncherIds.contains(launcher.id, Qt::CaseInsensitive))
        return true;
    const QString program = launcherProgram(launcher.exec);
    return !program.isEmpty()
           && (program == programFilePath() || QFileInfo(program).fileName() == QLatin1String("quirlanto"));
}

QString programName(const QString &id)
{
    return id.endsWith(QLatin1String(".desktop")) ? id.chopped(8) : id;
}

} // namespace

QList<DesktopLauncher> installedPhonePrograms()
{
    QList<DesktopLauncher> programs = launchersFor(QStringLiteral("x-scheme-handler/tel"));
    programs.removeIf(launchesThisProgram);
    return programs;
}

PhoneProgramDial::PhoneProgramDial(int handOverMs, QObject *parent)
    : DialBackend(parent)
    , m_handOverMs(handOverMs)
{}

void PhoneProgramDial::start(const DialRequest &request)
{
    m_running = true;
    const quint64 dial = ++m_dial;
    QString digits;
    for (const QChar c : request.internationalNumber)
        if (c.isDigit())
            digits += c;
    if (digits.isEmpty()) {
        end(DialResult::failed(QStringLiteral("Die Nummer enthält keine Ziffern.")));
        return;
    }
    const QString where =
        QStringLiteral("Bitte wählen Sie auf der Karte „Optionen“ unter „Anwahl ausführen über ...“ ");
    if (request.phoneProgram.isEmpty()) {
        end(DialResult::failed(QStringLiteral("Es ist kein Telefon-Programm gewählt.\n\n") + where
                                   + QStringLiteral("das Telefon-Programm, über das gewählt werden soll."),
                               false, true));
        return;
    }
    const QList<DesktopLauncher> programs = installedPhonePrograms();
    const auto chosen = std::find_if(programs.begin(), programs.end(), [&](const DesktopLauncher &program) {
        return program.id == request.phoneProgram;
    });
    if (chosen == programs.end()) {
        end(DialResult::failed(
            QStringLiteral("Das gewählte Telefon-Programm „%1“ ist nicht mehr installiert.\n\n")
                    .arg(programName(request.phoneProgram))
                + where
                + (programs.isEmpty() ? QStringLiteral("„Modem“ oder „Lautsprecher“, oder installieren Sie ein "
                                                       "Telefon-Programm, das tel:-Links annimmt.")
                                      : QStringLiteral("ein anderes Telefon-Programm, „Modem“ oder „Lautsprecher“.")),
            false, true));
        return;
    }
    const QString name = chosen->name;
    const QStringList command = launcherCommand(*chosen, QStringLiteral("tel:+") + digits);
    if (command.isEmpty()) {
        end(DialResult::failed(
            QStringLiteral("Das Telefon-Programm „%1“ lässt sich nicht starten: Sein Starter nennt kein Programm.")
                .arg(name)));
        return;
    }
    // Should the program pass the link on to the desktop and so to this program, it is recognised.
    HandOffEcho::shared().handedOver(digits);
    startWithDesktop(
        command,
        [this, guard = QPointer<PhoneProgramDial>(this), dial, name, digits](const DesktopHandOff &result) {
            if (!guard || dial != m_dial)
                return;
            if (result.handedOver)
                end({});
            else if (!result.startError.isEmpty())
                end(DialResult::failed(QStringLiteral("Das Telefon-Programm „%1“ ließ sich nicht starten (%2).")
                                           .arg(name, result.startError)));
            else
                end(DialResult::failed(
                    QStringLiteral("Das Telefon-Programm „%1“ konnte die Nummer +%2 nicht übernehmen.")
                        .arg(name, digits)));
        },
        m_handOverMs);
}

void PhoneProgramDial::cancel()
{
    end(DialResult::cancelled());
}

void PhoneProgramDial::end(const DialResult &result)
{
    if (!std::exchange(m_running, false))
        return;
    ++m_dial;
    emit finished(result);
}

} // namespace quirlanto
