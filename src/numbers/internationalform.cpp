#include "numbers/internationalform.h"

#include "numbers/foreignnumbers.h"
#include "numbers/tellink.h"
#include "numbers/writtennumber.h"

#include <algorithm>

namespace quirlanto {

namespace {

// The shared rule on the dial characters of a number written with or without "+".
QString resolve(const QString &digits, bool plus, const Settings &settings, ForeignNumbers *validity)
{
    if (plus)
        return digits;
    if (digits.startsWith(u"00"))
        return digits.mid(2);
    if (digits.startsWith(u'0'))
        return settings.ownCountryCode + digits.mid(1);
    const QString local = settings.ownCountryCode + settings.ownAreaCode + digits;
    if (validity) {
        const bool localValid = validity->isValid(local);
        if (localValid != validity->isValid(digits))
            return localValid ? local : digits;
    }
    const auto count = std::count_if(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); });
    return count <= kLongestLocalNumber ? local : digits;
}

QString digitsOf(const QString &written)
{
    return filterDialChars(dropTrunkZeroAfterCountryCode(written));
}

} // namespace

QString internationalFromTyped(const QString &typed, const Settings &settings, ForeignNumbers *validity)
{
    const QString trimmed = typed.trimmed();
    const QString digits = digitsOf(trimmed);
    // Pauses and tone signs alone are no number to put the own codes in front of.
    if (!hasDigit(digits))
        return trimmed;
    const bool plus = startsWithPlus(trimmed);
    const QString international = resolve(digits, plus, settings, validity);
    // Already international as typed: kept as the user wrote it.
    return !plus && international == digits ? trimmed : international;
}

QString internationalFromClipboard(const QString &text, const Settings &settings, ForeignNumbers *validity)
{
    const QString digits = digitsOf(text);
    if (digits.isEmpty())
        return {};
    return resolve(digits, startsWithPlus(text), settings, validity);
}

QString internationalFromTelLink(const TelLink &link, const Settings &settings, ForeignNumbers *validity)
{
    if (link.status != TelLink::Status::Ok)
        return {};
    const QString digits = digitsOf(link.numberText) + link.extension;
    if (link.global)
        return digits;
    if (link.contextPrefix.isEmpty())
        return resolve(digits, false, settings, validity);
    // Within the context's country: its own national and international prefixes still apply.
    if (digits.startsWith(u"00"))
        return digits.mid(2);
    if (digits.startsWith(u'0')) {
        // "+4930" written without separators: where the country code ends is known for the own one.
        const bool unsplit = link.contextCountryCode == link.contextPrefix;
        const QString country = unsplit && link.contextPrefix.startsWith(settings.ownCountryCode)
                                    ? settings.ownCountryCode
                                    : link.contextCountryCode;
        return country + digits.mid(1);
    }
    return link.contextPrefix + digits;
}

ContactNumber internationalFromContact(const QString &written, const QString &region, const Settings &settings,
                                       ForeignNumbers *foreign)
{
    ContactNumber result;
    const QString keyed = withKeypadWords(written, &result.doubtful);
    if (foreign && !region.isEmpty()) {
        const ForeignNumbers::Reading reading = foreign->read(keyed, region, settings.ownCountryCode);
        result.international = reading.international;
        result.doubtful = result.doubtful || reading.invalidThere;
        result.moduleMissing = reading.moduleMissing;
    }
    if (result.international.isEmpty())
        result.international = internationalFromTyped(keyed, settings);
    return result;
}

QString internationalFromCaller(const QString &reported, const Settings &settings)
{
    const QString digits = digitsOf(reported);
    if (!hasDigit(digits))
        return {};
    if (startsWithPlus(reported))
        return digits;
    if (digits.startsWith(u"00"))
        return digits.mid(2);
    if (digits.startsWith(u'0'))
        return settings.ownCountryCode + digits.mid(1);
    return settings.ownCountryCode + settings.ownAreaCode + digits;
}

} // namespace quirlanto
