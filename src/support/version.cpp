#include "support/version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace quirlanto {

namespace {
QString &directoryOverride()
{
    static QString dir;
    return dir;
}
} // namespace

QString versionText(quint32 flags, int major, int minor, int revision)
{
    QString revisionPart;
    if (flags & 0x100) {
        if (revision > 99)
            revisionPart = QChar(96 + int(std::nearbyint(revision / 100.0)));
    } else {
        revisionPart = QLatin1Char('.') + QString::number(revision);
    }
    const QString text = QString::number(major) + QLatin1Char('.') + QString::number(minor) + revisionPart;
    switch (flags & 0xFF) {
    case 0:
        return QStringLiteral(" (V") + text + QLatin1Char(')');
    case 1:
        return text;
    default:
        return {};
    }
}

QString versionText(quint32 flags)
{
    return versionText(flags, kVersionMajor, kVersionMinor, kVersionRevision);
}

QString addBackslash(const QString &path)
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
        return addBackslash(QDir::cleanPath(directoryOverride()));
    return addBackslash(QFileInfo(programFilePath()).absolutePath());
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
