#include "support/datadirectory.h"

#include "support/programdirectory.h"
#include "support/version.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace quirlanto {

namespace {

void makePrivatePath(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    qsizetype at = clean.startsWith(QLatin1Char('/')) ? 1 : 0;
    while (at <= clean.size()) {
        qsizetype next = clean.indexOf(QLatin1Char('/'), at);
        if (next < 0)
            next = clean.size();
        // An existing folder keeps its mode; only what is made here is private.
        ::mkdir(QFile::encodeName(clean.left(next)).constData(), 0700);
        at = next + 1;
    }
}

} // namespace

bool isSystemInstall()
{
#ifdef QUIRLANTO_SYSTEM_INSTALL
    return true;
#else
    return false;
#endif
}

QString userDataDirectory()
{
    // The base directory specification ignores a relative XDG_DATA_HOME.
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QLatin1String("/.local/share");
    const QString folder = QDir::cleanPath(base + QLatin1String("/quirlanto"));
    makePrivatePath(folder);
    return withTrailingSlash(folder);
}

QString dataDirectory()
{
    return isSystemInstall() ? userDataDirectory() : programDirectory();
}

QString resourceDirectory()
{
#ifdef QUIRLANTO_SYSTEM_INSTALL
    return withTrailingSlash(QStringLiteral(QUIRLANTO_RESOURCE_DIR));
#else
    return programDirectory();
#endif
}

QString moduleDirectory()
{
#ifdef QUIRLANTO_SYSTEM_INSTALL
    return withTrailingSlash(QStringLiteral(QUIRLANTO_MODULE_DIR));
#else
    return programDirectory() + QLatin1String("lib/");
#endif
}

} // namespace quirlanto
