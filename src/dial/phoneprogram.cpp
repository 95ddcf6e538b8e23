#include "dial/phoneprogram.h"

#include "support/settingsstore.h"
#include "support/version.h"

#include <QProcess>
#include <QStandardPaths>

namespace quirlanto {

namespace {

const QString kDeviceKey = QStringLiteral("Dial/Device");
const QString kPhoneProgram = QStringLiteral("phone-program");
constexpr int kWaitMs = 5000; // xdg-mime only reads files

// The output of a short helper, empty when it could not run.
QString runForOutput(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(kWaitMs)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// The name the desktop shows for a launcher ("Name[de]=", else "Name="); the id when unknown.
QString launcherName(const QString &id)
{
    const auto entry = readDesktopEntry(QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id));
    if (!entry)
        return id;
    const QString name = entry->value(QStringLiteral("Name[de]"), entry->value(QStringLiteral("Name")));
    return name.isEmpty() ? id : name;
}

} // namespace

DesktopPhone::DesktopPhone(SettingsStore &store, int handOverMs)
    : m_store(store)
    , m_handOverMs(handOverMs)
{}

bool DesktopPhone::isChosen() const
{
    return m_store.value(kDeviceKey).toString() == kPhoneProgram;
}

void DesktopPhone::setChosen(bool chosen)
{
    if (chosen)
        m_store.setValue(kDeviceKey, kPhoneProgram);
    else
        m_store.remove(kDeviceKey);
}

QStringList DesktopPhone::ownLauncherIds()
{
    return {QStringLiteral("quirlanto.desktop"), QString::fromLatin1(kAppId) + QStringLiteral(".desktop")};
}

QString DesktopPhone::dial(const QString &internationalNumber, std::function<void(const QString &)> failed) const
{
    QString digits;
    for (const QChar c : internationalNumber)
        if (c.isDigit())
            digits += c;
    if (digits.isEmpty())
        return QStringLiteral("Die Nummer enthält keine Ziffern.");
    const QString handler =
        runForOutput(QStringLiteral("xdg-mime"),
                     {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("x-scheme-handler/tel")});
    if (handler.isEmpty())
        return QStringLiteral("Auf diesem Rechner ist kein Telefon-Programm für tel:-Links eingerichtet.");
    if (ownLauncherIds().contains(handler, Qt::CaseInsensitive))
        return QStringLiteral("Quirlanto selbst ist als Telefon-Programm für tel:-Links eingerichtet und würde "
                              "sich nur selbst aufrufen. Bitte richten Sie ein anderes Telefon-Programm ein oder "
                              "wählen Sie „Modem“ oder „Lautsprecher“.");
    // xdg-open may stay until a phone program it started ends; the call has been handed over then.
    // The launcher file is read only when the text is needed.
    const auto refused = [handler, digits] {
        return QStringLiteral("Das Telefon-Programm „%1“ konnte die Nummer +%2 nicht übernehmen.")
            .arg(launcherName(handler), digits);
    };
    const bool started = openWithDesktop(
        QStringLiteral("xdg-open"), QStringLiteral("tel:+") + digits,
        [refused, failed = std::move(failed)] {
            if (failed)
                failed(refused());
        },
        m_handOverMs);
    return started ? QString() : refused();
}

} // namespace quirlanto
