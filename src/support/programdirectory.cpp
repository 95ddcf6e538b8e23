#include "support/programdirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace quirlanto {

namespace {
QString &directoryOverride()
{
    static QString dir;
    return dir;
}
} // namespace

QString withTrailingSlash(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QString programFilePath()
{
    const auto resolve = [] {
        const QString path = QCoreApplication::applicationFilePath();
        const QString real = QFileInfo(path).canonicalFilePath();
        return real.isEmpty() ? path : real;
    };
    if (!QCoreApplication::instance())
        return resolve();
    // Resolving links costs system calls, and the start asks several times; the file stays.
    static const QString resolved = resolve();
    return resolved;
}

QString programDirectory()
{
    if (!directoryOverride().isEmpty())
        return withTrailingSlash(QDir::cleanPath(directoryOverride()));
    return withTrailingSlash(QFileInfo(programFilePath()).absolutePath());
}

void setProgramDirectoryOverride(const QString &directory)
{
    directoryOverride() = directory;
}

bool fileExists(const QString &name)
{
    if (name.isEmpty())
        return false;
    const QFileInfo info(name);
    return info.exists() && info.isFile() && !info.isHidden();
}

} // namespace quirlanto
