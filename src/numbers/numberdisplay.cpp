#include "numbers/numberdisplay.h"

#include "numbers/foreignnumbers.h"
#include "numbers/writtennumber.h"

#include <algorithm>
#include <iterator>

namespace quirlanto {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Country calling codes are prefix-free: "1" and "7" stand alone, these take two digits, all
// others three.
qsizetype callingCodeLength(QStringView digits)
{
    static constexpr int kTwoDigitCodes[] = {20, 27, 30, 31, 32, 33, 34, 36, 39, 40, 41, 43, 44, 45, 46,
                                             47, 48, 49, 51, 52, 53, 54, 55, 56, 57, 58, 60, 61, 62, 63,
                                             64, 65, 66, 81, 82, 84, 86, 90, 91, 92, 93, 94, 95, 98};
    if (digits.startsWith(u'1') || digits.startsWith(u'7'))
        return 1;
    if (digits.size() >= 2
        && std::binary_search(std::begin(kTwoDigitCodes), std::end(kTwoDigitCodes), digits.left(2).toInt()))
        return 2;
    return 3;
}

} // namespace

QString readableNumber(const QString &stored, const Settings &settings, ForeignNumbers *grouping)
{
    const auto end = std::find_if_not(stored.cbegin(), stored.cend(), isDigit);
    const QString digits(stored.cbegin(), end - stored.cbegin());
    const QString tail = stored.mid(digits.size());
    if (digits.isEmpty() || filterDialChars(tail).size() != tail.size())
        return stored;
    if (grouping)
        if (const QString grouped = grouping->readable(digits); !grouped.isEmpty())
            return grouped + tail;

    const QString &ownCountry = settings.ownCountryCode;
    const bool ownCountryNumber = !ownCountry.isEmpty() && digits.startsWith(ownCountry);
    const qsizetype countryLength = ownCountryNumber ? ownCountry.size() : callingCodeLength(digits);
    QString shown = u'+' + digits.left(countryLength);
    QStringView rest = QStringView(digits).mid(countryLength);
    if (ownCountryNumber && !settings.ownAreaCode.isEmpty() && rest.startsWith(settings.ownAreaCode)) {
        shown += u' ' + settings.ownAreaCode;
        rest = rest.mid(settings.ownAreaCode.size());
    }
    if (!rest.isEmpty()) {
        shown += u' ';
        shown += rest;
    }
    return shown + tail;
}

} // namespace quirlanto
