#include "support/autostart.h"

#include "support/desktopopen.h"
#include "support/messagebox.h"
#include "support/programdirectory.h"
#include "support/safefilewriter.h"
#include "support/version.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSignalBlocker>

#include <cerrno>

namespace quirlanto {

namespace {

QString configHome()
{
    // Relative values are to be ignored, as if unset.
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return QDir::cleanPath(configured);
    return QDir::homePath() + QLatin1String("/.config");
}

// The box shows what is on disk, without firing applyAutostart again.
void mirrorEntry(QCheckBox *box)
{
    const QSignalBlocker blocker(box);
    box->setChecked(autostartEntryExists(QString::fromLatin1(kProductName)));
}

} // namespace

QString autostartDirectory()
{
    return configHome() + QLatin1String("/autostart");
}

QString legacyAutostartDirectory()
{
    return configHome() + QLatin1String("/autostart-scripts");
}

QString autostartEntryPath(const QString &name)
{
    return autostartDirectory() + u'/' + name + QLatin1String(".desktop");
}

QString desktopExecArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#`()");
    bool needsQuotes = argument.isEmpty();
    for (QChar c : argument)
        needsQuotes = needsQuotes || reserved.contains(c);

    QString quoted;
    if (needsQuotes) {
        quoted.append(u'"');
        for (QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted.append(u'\\');
            quoted.append(c);
        }
        quoted.append(u'"');
    } else {
        quoted = argument;
    }
    quoted.replace(u'%', QLatin1String("%%")); // a lone % would start a field code

    // The value of a key is itself a string with escapes, so backslashes double once more.
    QString value;
    for (QChar c : quoted) {
        if (c == u'\\')
            value.append(QLatin1String("\\\\"));
        else if (c == u'\n')
            value.append(QLatin1String("\\n"));
        else if (c == u'\t')
            value.append(QLatin1String("\\t"));
        else if (c == u'\r')
            value.append(QLatin1String("\\r"));
        else
            value.append(c);
    }
    return value;
}

QString autostartCommandLine(const QString &programPath)
{
    return desktopExecArgument(programPath) + u' ' + QLatin1String(kAutostartSwitch);
}

namespace {

// Qt's own error texts are English; the system's error number reads in German.
QString reason(const QFileDevice &file)
{
    return errno != 0 ? systemErrorText(errno) : file.errorString();
}

} // namespace

bool setAutostartEntry(const QString &name, const QString &commandLine, QString *error)
{
    const QString path = autostartEntryPath(name);
    if (!QDir().mkpath(autostartDirectory())) {
        if (error)
            *error = QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(autostartDirectory());
        return false;
    }
    const QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=") + name
                         + QStringLiteral("\nComment=Wählhilfe beim Anmelden im Infobereich starten\nExec=")
                         + commandLine + QStringLiteral("\nTerminal=false\nX-GNOME-Autostart-enabled=true\n");
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("Die Datei %1 kann nicht geschrieben werden (%2).").arg(path, reason(file));
        return false;
    }
    return true;
}

bool deleteAutostartEntry(const QString &name, QString *error)
{
    QFile file(autostartEntryPath(name));
    errno = 0;
    if (!file.exists() || file.remove())
        return true;
    if (error)
        *error = QStringLiteral("Die Datei %1 kann nicht gelöscht werden (%2).").arg(file.fileName(), reason(file));
    return false;
}

bool autostartEntryExists(const QString &name)
{
    const auto entry = readDesktopEntry(autostartEntryPath(name));
    return entry && entry->value(QStringLiteral("Hidden")) != QLatin1String("true");
}

AutostartFileOps AutostartFileOps::real()
{
    return {
        [](const QString &path) {
            return QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadOwner | QFile::WriteOwner);
        },
        [](const QString &path) { return QFile::remove(path); },
    };
}

AutostartSwitch::AutostartSwitch(QCheckBox *box, const QString &programPath, const AutostartFileOps &ops)
    : QObject(box)
    , m_box(box)
    , m_programPath(programPath)
{
    connect(box, &QCheckBox::toggled, this, &AutostartSwitch::apply);
    const QString name = QString::fromLatin1(kProductName);
    const QString link = withTrailingSlash(legacyAutostartDirectory()) + name + QLatin1String(".lnk");
    if (fileExists(link)) {
        QWidget *parent = box->window();
        if (!ops.makeWritable(link))
            MessageBoxes::information(parent, QStringLiteral("Attribute nicht löschbar: ") + link);
        if (!ops.remove(link))
            MessageBoxes::information(parent, QStringLiteral("Datei nicht löschbar: ") + link);
        m_ready = true;
        if (box->isChecked())
            apply();
        else
            box->setChecked(true); // toggled() writes the entry
        return;
    }
    box->setChecked(autostartEntryExists(name));
    m_ready = true;
}

void AutostartSwitch::apply()
{
    if (!m_ready)
        return;
    const QString name = QString::fromLatin1(kProductName);
    QString error;
    const bool ok = m_box->isChecked() ? setAutostartEntry(name, autostartCommandLine(m_programPath), &error)
                                       : deleteAutostartEntry(name, &error);
    if (!ok) {
        MessageBoxes::show(m_box->window(), MessageIcon::Warning,
                           QStringLiteral("Die Einstellung für den Autostart konnte nicht gespeichert werden.\n")
                               + error);
        mirrorEntry(m_box);
    }
}

} // namespace quirlanto
