#include "numbers/tellink.h"

#include "numbers/writtennumber.h"
#include "support/textlimits.h"

#include <QUrl>

#include <algorithm>

namespace quirlanto {

namespace {

const QLatin1String kScheme("tel:");

// Besides the RFC's separators, blanks and "/" as German numbers are often written.
bool isVisualSeparator(QChar c)
{
    return c == u'-' || c == u'.' || c == u'(' || c == u')' || c == u'/' || c.isSpace();
}

bool isUndialableDigit(QChar c)
{
    return c == u'*' || c == u'#' || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Worst finding over the characters: anything not a digit or separator spoils the number.
TelLink::Status classifyDigits(QStringView text, int &digitCount)
{
    digitCount = 0;
    TelLink::Status status = TelLink::Status::Ok;
    for (QChar c : text) {
        if (c >= u'0' && c <= u'9')
            ++digitCount;
        else if (isVisualSeparator(c))
            continue;
        else if (isUndialableDigit(c))
            status = status == TelLink::Status::NoNumber ? status : TelLink::Status::Undialable;
        else
            status = TelLink::Status::NoNumber;
    }
    if (status == TelLink::Status::Ok && digitCount == 0)
        status = TelLink::Status::NoNumber;
    return status;
}

// A global number prefix ("+1-914-555") or a domain name ("example.com").
void readContext(const QString &context, TelLink &link)
{
    if (!context.startsWith(u'+')) {
        link.contextDomain = context;
        return;
    }
    const QStringView digits = QStringView(context).mid(1);
    int count = 0;
    if (classifyDigits(digits, count) != TelLink::Status::Ok) {
        link.contextDomain = context;
        return;
    }
    link.contextPrefix = filterDialChars(context);
    const auto end = std::find_if(digits.begin(), digits.end(), isVisualSeparator);
    link.contextCountryCode = filterDialChars(QStringView(digits.begin(), end).toString());
}

} // namespace

bool isTelLink(const QString &argument)
{
    return argument.trimmed().startsWith(kScheme, Qt::CaseInsensitive);
}

TelLink parseTelLink(const QString &uri)
{
    TelLink link;
    QString rest = uri.trimmed();
    if (!rest.startsWith(kScheme, Qt::CaseInsensitive))
        return link;
    rest = rest.mid(kScheme.size());
    if (rest.startsWith(QLatin1String("//")))
        rest = rest.mid(2);
    rest = QUrl::fromPercentEncoding(rest.toUtf8());

    const QStringList parts = rest.split(u';');
    QString number = parts.first().trimmed();
    link.global = number.startsWith(u'+');
    link.numberText = number;

    int digits = 0;
    link.status = classifyDigits(link.global ? QStringView(number).mid(1) : QStringView(number), digits);
    if (link.status == TelLink::Status::NoNumber)
        return link;

    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString &parameter = parts.at(i);
        const qsizetype equals = parameter.indexOf(u'=');
        const QString name = parameter.left(equals).trimmed();
        const QString value = parameter.mid(equals + 1);
        if (equals >= 0 && !link.global && name.compare(QLatin1String("phone-context"), Qt::CaseInsensitive) == 0) {
            readContext(value.trimmed(), link);
            continue;
        }
        if (equals < 0 || name.compare(QLatin1String("ext"), Qt::CaseInsensitive) != 0)
            continue; // isub and the like do not change what is dialed
        int extDigits = 0;
        const TelLink::Status extStatus = classifyDigits(value, extDigits);
        if (extStatus == TelLink::Status::NoNumber && extDigits == 0 && value.trimmed().isEmpty())
            continue;
        if (extStatus != TelLink::Status::Ok) {
            if (link.status == TelLink::Status::Ok || extStatus == TelLink::Status::NoNumber)
                link.status = extStatus;
            continue;
        }
        link.extension += filterDialChars(value);
    }
    if (link.status == TelLink::Status::Ok && digits + link.extension.size() > kMaxNumberLength)
        link.status = TelLink::Status::TooLong;
    if (link.status == TelLink::Status::Ok && !link.contextDomain.isEmpty())
        link.status = TelLink::Status::LocalToDomain;
    return link;
}

QString telLinkTooLongMessage()
{
    return QStringLiteral("Der Link ist zu lang und wird nicht gewählt: Eine Telefonnummer hat höchstens %1 "
                          "Ziffern.")
        .arg(kMaxNumberLength);
}

QString telLinkLocalToDomainMessage(const TelLink &link)
{
    return QStringLiteral("Die Nummer %1 gilt nur im Telefonnetz von „%2“ und kann von hier aus nicht gewählt "
                          "werden.")
        .arg(link.numberText, link.contextDomain);
}

} // namespace quirlanto
