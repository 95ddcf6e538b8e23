// Built as the module lib/quirlanto-phonenumbers.so; see phonenumbermodule.h.
#include "numbers/phonenumbermodule.h"

#include <QHash>

#include <type_traits>

#include <phonenumbers/phonenumberutil.h>
#include <unicode/locid.h>

namespace {

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

// "Côte d’Ivoire", "cote d'ivoire" and "COTE DIVOIRE" are one name; so are "U.S.A." and "USA".
QString nameKey(const QString &name)
{
    QString key;
    for (const QChar c : name.normalized(QString::NormalizationForm_D))
        if (c.isLetter())
            key.append(c.toCaseFolded());
    return key;
}

QString fromIcu(const icu::UnicodeString &text)
{
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

QHash<QString, QString> buildRegionTable()
{
    QHash<QString, QString> table;
    // Codes first: a name never overrides a code.
    const auto add = [&table](const QString &name, const QString &region) {
        const QString key = nameKey(name);
        if (!key.isEmpty() && !table.contains(key))
            table.insert(key, region);
    };
    const icu::Locale languages[] = {icu::Locale("de"), icu::Locale("en"), icu::Locale("fr"), icu::Locale("it"),
                                     icu::Locale("es")};
    for (const char *const *code = icu::Locale::getISOCountries(); *code; ++code) {
        const QString region = QString::fromLatin1(*code);
        const icu::Locale country("", *code);
        add(region, region);
        add(QString::fromLatin1(country.getISO3Country()), region);
    }
    for (const char *const *code = icu::Locale::getISOCountries(); *code; ++code) {
        const QString region = QString::fromLatin1(*code);
        const icu::Locale country("", *code);
        icu::UnicodeString name;
        for (const icu::Locale &language : languages)
            add(fromIcu(country.getDisplayCountry(language, name)), region);
        icu::Locale native("und", *code);
        UErrorCode status = U_ZERO_ERROR;
        native.addLikelySubtags(status);
        if (U_SUCCESS(status))
            add(fromIcu(country.getDisplayCountry(native, name)), region);
    }
    // What address books write besides the official names.
    static const char *const kCommonNames[][2] = {
        {"UK", "GB"},
        {"Großbritannien", "GB"},
        {"Great Britain", "GB"},
        {"England", "GB"},
        {"Schottland", "GB"},
        {"Scotland", "GB"},
        {"Wales", "GB"},
        {"Nordirland", "GB"},
        {"Northern Ireland", "GB"},
        {"Holland", "NL"},
        {"United States of America", "US"},
        {"Vereinigte Staaten von Amerika", "US"},
        {"Tschechische Republik", "CZ"},
        {"Czech Republic", "CZ"},
    };
    for (const auto &[name, region] : kCommonNames)
        add(QString::fromUtf8(name), QString::fromLatin1(region));
    return table;
}

} // namespace

extern "C" Q_DECL_EXPORT void quirlantoRegionOfCountry(const QString &country, QString *region)
{
    static const QHash<QString, QString> regions = buildRegionTable();
    *region = regions.value(nameKey(country));
}

extern "C" Q_DECL_EXPORT void quirlantoCallingCode(const QString &region, QString *callingCode)
{
    const int code = PhoneNumberUtil::GetInstance()->GetCountryCodeForRegion(region.toStdString());
    *callingCode = code > 0 ? QString::number(code) : QString();
}

extern "C" Q_DECL_EXPORT void quirlantoInternationalForm(const QString &typed, const QString &region,
                                                         QString *international)
{
    const PhoneNumberUtil &util = *PhoneNumberUtil::GetInstance();
    international->clear();
    PhoneNumber number;
    if (util.Parse(typed.toStdString(), region.toStdString(), &number) != PhoneNumberUtil::NO_PARSING_ERROR
        || !util.IsValidNumber(number))
        return;
    std::string e164; // "+33123456789"
    util.Format(number, PhoneNumberUtil::E164, &e164);
    *international = QString::fromStdString(e164).mid(1);
}

extern "C" Q_DECL_EXPORT void quirlantoReadableForm(const QString &international, QString *readable)
{
    const PhoneNumberUtil &util = *PhoneNumberUtil::GetInstance();
    readable->clear();
    PhoneNumber number;
    // "ZZ": no region; the number carries its own.
    if (util.Parse("+" + international.toStdString(), "ZZ", &number) != PhoneNumberUtil::NO_PARSING_ERROR
        || !util.IsValidNumber(number))
        return;
    std::string formatted;
    util.Format(number, PhoneNumberUtil::INTERNATIONAL, &formatted);
    *readable = QString::fromStdString(formatted);
}

// The interface above is checked against the declared function types when building.
static_assert(std::is_same_v<decltype(&quirlantoRegionOfCountry), quirlanto::phonenumbers::RegionOfCountryFunction>);
static_assert(std::is_same_v<decltype(&quirlantoCallingCode), quirlanto::phonenumbers::CallingCodeFunction>);
static_assert(
    std::is_same_v<decltype(&quirlantoInternationalForm), quirlanto::phonenumbers::InternationalFormFunction>);
static_assert(std::is_same_v<decltype(&quirlantoReadableForm), quirlanto::phonenumbers::ReadableFormFunction>);
