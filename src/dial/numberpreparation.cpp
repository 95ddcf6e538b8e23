#include "dial/numberpreparation.h"

#include "providers/bestprovider.h"
#include "providers/providertable.h"
#include "support/clock.h"
#include "support/textlimits.h"

namespace quirlanto {

QString clipboardNumberRefusal(const QString &filtered, bool marked)
{
    const QString text =
        marked ? QStringLiteral("Der markierte Text") : QStringLiteral("Der Text in der Zwischenablage");
    if (filtered.isEmpty())
        return text + QStringLiteral(" enthält keine Telefonnummer.");
    if (filtered.size() > kMaxNumberLength) {
        return text
               + QStringLiteral(" ist zu lang für eine Telefonnummer: Er enthält %1 "
                                "Wählzeichen, eine Nummer hat höchstens %2.")
                     .arg(filtered.size())
                     .arg(kMaxNumberLength);
    }
    return {};
}

PreparedNumber prepareNumber(const QString &internationalNumber, bool zeroFlag, const Settings &settings,
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
            p.number = zeroFlag ? QLatin1Char('0') + rest : rest;
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
