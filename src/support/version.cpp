#include "support/version.h"

#include <cmath>

namespace quirlanto {

QString versionText(quint32 flags, int major, int minor, int revision)
{
    QString revisionPart;
    if (flags & kVersionWithoutRevision) {
        if (revision > 99)
            revisionPart = QChar(96 + int(std::nearbyint(revision / 100.0)));
    } else {
        revisionPart = QLatin1Char('.') + QString::number(revision);
    }
    const QString text = QString::number(major) + QLatin1Char('.') + QString::number(minor) + revisionPart;
    switch (flags & 0xFF) {
    case kVersionInBrackets:
        return QStringLiteral(" (V") + text + QLatin1Char(')');
    case kVersionBare:
        return text;
    default:
        return {};
    }
}

QString captionVersionText()
{
    return versionText(kVersionBare | kVersionWithoutRevision, kVersionMajor, kVersionMinor, kVersionRevision);
}

QString bracketedVersionText()
{
    return versionText(kVersionInBrackets | kVersionWithoutRevision, kVersionMajor, kVersionMinor, kVersionRevision);
}

} // namespace quirlanto
