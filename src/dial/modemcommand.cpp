#include "dial/modemcommand.h"

namespace quirlanto {

QString buildModemCommand(const PreparedNumber &prepared, const Settings &settings)
{
    const bool pulse = settings.dialMethod == DialMethod::Pulse;
    QString line = QStringLiteral("AT") + settings.extraModemCommands + QLatin1Char('D')
                   + QLatin1Char(pulse ? 'P' : 'T') + settings.outsideLinePrefix + prepared.dialPrefix
                   + prepared.number;
    // A hook flash cannot be pulsed, so handover exists only for tone dialing.
    if (settings.handoverEnabled && !pulse)
        line += QStringLiteral(",!,") + settings.handoverNumber;
    line += QStringLiteral(";H\r");
    return line;
}

QString lineDigits(const PreparedNumber &prepared)
{
    QString digits;
    for (QChar c : prepared.dialPrefix + prepared.number) {
        if ((c >= u'0' && c <= u'9') || c == u'*' || c == u'#')
            digits += c;
    }
    return digits;
}

QStringList tonePlan(const QString &commandLine)
{
    QStringList tones;
    for (QChar c : commandLine) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            tones.append(QString(c));
        else if (u == u'#')
            tones.append(QStringLiteral("#"));
        else if (u == u'*')
            tones.append(QStringLiteral("stern"));
        else if (u == u',')
            tones.append(QStringLiteral("pause2000"));
    }
    return tones;
}

QString toneFilePath(const QString &programDirectoryWithSeparator, const QString &toneName)
{
    QString dir = programDirectoryWithSeparator;
    while (dir.endsWith(u'/'))
        dir.chop(1);
    return dir + QStringLiteral("/snd/") + toneName + QStringLiteral(".WAV");
}

} // namespace quirlanto
