#include "dial/phoneprogram.h"

#include "dial/handoffecho.h"
#include "support/programdirectory.h"
#include "support/version.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace quirlanto {

namespace {

constexpr int kQueryMs = 5000; // xdg-mime only reads files

// Launcher names under which the desktop knows this program.
const QStringList kOwnLauncherIds = {QStringLiteral("quirlanto.desktop"),
                                     QString::fromLatin1(kAppId) + QStringLiteral(".desktop")};

std::optional<QHash<QString, QString>> launcherEntry(const QString &id)
{
    return readDesktopEntry(QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id));
}

// The name the desktop shows for a launcher ("Name[de]=", else "Name="); the id when unknown.
QString launcherName(const QString &id)
{
    const auto entry = launcherEntry(id);
    if (!entry)
        return id;
    const QString name = entry->value(QStringLiteral("Name[de]"), entry->value(QStringLiteral("Name")));
    return name.isEmpty() ? id : name;
}

// A launcher of another name may still run this program: its file, or the program installed.
bool launchesThisProgram(const QString &id)
{
    if (kOwnLauncherIds.contains(id, Qt::CaseInsensitive))
        return true;
    const auto entry = launcherEntry(id);
    const QString program = entry ? launcherProgram(entry->value(QStringLiteral("Exec"))) : QString();
    return !program.isEmpty()
           && (program == programFilePath() || QFileInfo(program).fileName() == QLatin1String("quirlanto"));
}

DialResult failure(const QString &text)
{
    return DialResult::failed(text);
}

} // namespace

PhoneProgramDial::PhoneProgramDial(int handOverMs, QObject *parent)
    : DialBackend(parent)
    , m_handOverMs(handOverMs)
{}

void PhoneProgramDial::start(const DialRequest &request)
{
    m_running = true;
    ++m_dial;
    m_digits.clear();
    for (const QChar c : request.internationalNumber)
        if (c.isDigit())
            m_digits += c;
    if (m_digits.isEmpty()) {
        end(failure(QStringLiteral("Die Nummer enthält keine Ziffern.")));
        return;
    }
    askDesktop(
        QStringLiteral("xdg-mime"),
        {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("x-scheme-handler/tel")},
        [this, guard = QPointer<PhoneProgramDial>(this), dial = m_dial](const QString &answer,
                                                                        const QString &startError) {
            if (!guard || dial != m_dial)
                return;
            // Not started (no descriptor or process left, say) is no answer that nothing is set up.
            if (!startError.isEmpty())
                end(failure(QStringLiteral("Quirlanto konnte nicht nachsehen, welches Telefon-Programm eingerichtet "
                                           "ist: xdg-mime ließ sich nicht starten (%1).")
                                .arg(startError)));
            else
                handOver(answer.trimmed());
        },
        kQueryMs);
}

void PhoneProgramDial::handOver(const QString &handler)
{
    if (!m_running)
        return;
    if (handler.isEmpty()) {
        end(failure(QStringLiteral("Auf diesem Rechner ist kein Telefon-Programm für tel:-Links eingerichtet.")));
        return;
    }
    if (launchesThisProgram(handler)) {
        end(failure(QStringLiteral("Quirlanto selbst ist als Telefon-Programm für tel:-Links eingerichtet und würde "
                                   "sich nur selbst aufrufen. Bitte richten Sie ein anderes Telefon-Programm ein oder "
                                   "wählen Sie „Modem“ oder „Lautsprecher“.")));
        return;
    }
    // xdg-open may stay until a phone program it started ends; the call has been handed over then.
    const quint64 dial = m_dial;
    HandOffEcho::shared().handedOver(m_digits);
    openWithDesktop(
        QStringLiteral("xdg-open"), QStringLiteral("tel:+") + m_digits,
        [this, guard = QPointer<PhoneProgramDial>(this), dial, handler,
         digits = m_digits](const DesktopHandOff &result) {
            if (!guard || dial != m_dial)
                return;
            if (result.handedOver)
                end({});
            else if (!result.startError.isEmpty())
                end(failure(QStringLiteral("Die Nummer +%1 konnte nicht an das Telefon-Programm übergeben werden: "
                                           "xdg-open ließ sich nicht starten (%2).")
                                .arg(digits, result.startError)));
            else // the launcher file is read only when the text is needed
                end(failure(QStringLiteral("Das Telefon-Programm „%1“ konnte die Nummer +%2 nicht übernehmen.")
                                .arg(launcherName(handler), digits)));
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
