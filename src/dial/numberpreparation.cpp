#include "dial/numberpreparation.h"

#include "providers/bestprovider.h"
#include "providers/providertable.h"
#include "support/clock.h"
#include "support/textlimits.h"

namespace quirlanto {

namespace {

bool isDialChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || u == u',' || u == u'!';
}

qsizetype skipSpaces(const QString &text, qsizetype i)
{
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return i;
}

} // namespace

QString filterDialChars(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (isDialChar(c))
            result += c;
    }
    return result;
}

QString dropTrunkZeroAfterCountryCode(const QString &rawClipboardText)
{
    const qsizetype start = skipSpaces(rawClipboardText, 0);
    const QStringView head = QStringView(rawClipboardText).mid(start);
    if (!head.startsWith(u'+') && !head.startsWith(u"00"))
        return rawClipboardText;

    // The first "(0)", blanks allowed inside the parentheses.
    for (qsizetype open = rawClipboardText.indexOf(u'(', start); open >= 0;
         open = rawClipboardText.indexOf(u'(', open + 1)) {
        qsizetype i = skipSpaces(rawClipboardText, open + 1);
        if (i >= rawClipboardText.size() || rawClipboardText.at(i) != u'0')
            continue;
        i = skipSpaces(rawClipboardText, i + 1);
        if (i >= rawClipboardText.size() || rawClipboardText.at(i) != u')')
            continue;
        QString result = rawClipboardText;
        result.remove(open, i + 1 - open);
        return result;
    }
    return rawClipboardText;
}

QString clipboardNumberRefusal(const QString &filtered)
{
    if (filtered.isEmpty())
        return QStringLiteral("Der Text in der Zwischenablage enthält keine Telefonnummer.");
    if (filtered.size() > kMaxNumberLength) {
        return QStringLiteral("Der Text in der Zwischenablage ist zu lang für eine Telefonnummer: Er enthält %1 "
                              "Wählzeichen, eine Nummer hat höchstens %2.")
            .arg(filtered.size())
            .arg(kMaxNumberLength);
    }
    return {};
}

QString normalizeClipboardNumber(const QString &filtered, const Settings &settings)
{
    if (filtered.startsWith(u"00"))
        return filtered.mid(2);
    if (filtered.startsWith(u'0'))
        return settings.ownCountryCode + filtered.mid(1);
    return filtered;
}

PreparedNumber prepareNumber(const QString &internationalNumber, int zeroFlag, const Settings &settings,
                             const ProviderTable *providers, const Clock &clock)
{
    PreparedNumber p;
    const QString &country = settings.ownCountryCode;
    const QString &area = settings.ownAreaCode;
    if (!country.isEmpty() && internationalNumber.startsWith(country)) {
        const QString rest = internationalNumber.mid(country.size());
        if (!area.isEmpty() && rest.startsWith(area)) {
            p.distance = DistanceClass::Local;
            p.number = rest.mid(area.size());
        } else {
            p.distance = DistanceClass::LongDistance;
            p.number = zeroFlag != 0 ? QLatin1Char('0') + rest : rest;
        }
    } else {
        p.distance = DistanceClass::Abroad;
        p.number = internationalNumber;
        p.dialPrefix = settings.internationalPrefix;
    }

    if (providers && providers->providersEnabled) {
        const QDateTime now = clock.now();
        const QString provider =
            bestProvider(*providers, qint16(now.date().dayOfWeek()), qint16(now.time().hour()), qint16(p.distance));
        p.dialPrefix = provider + p.dialPrefix;
    }

    p.displayNumber = p.distance == DistanceClass::Abroad ? QLatin1Char('+') + p.number : p.number;
    return p;
}

} // namespace quirlanto
