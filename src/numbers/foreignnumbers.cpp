#include "numbers/foreignnumbers.h"

#include "numbers/writtennumber.h"
#include "support/builtmodules.h"
#include "support/datadirectory.h"

namespace quirlanto {

namespace {

// The module's answer for `key`, asked once.
template <typename Function>
QString cached(QHash<QString, QString> &cache, const QString &key, Function ask)
{
    auto found = cache.constFind(key);
    if (found == cache.cend()) {
        QString value;
        ask(key, &value);
        found = cache.insert(key, value);
    }
    return *found;
}

// The neighbours and the countries of the German-speaking users, for when the module is missing:
// region, calling code, and names in lower case as addresses write them.
struct KnownCountry {
    const char *region;
    const char *callingCode;
    const char *names; // '|' between them
};
constexpr KnownCountry kKnownCountries[] = {
    {"DE", "49", "de|deu|deutschland|germany|allemagne|bundesrepublik deutschland"},
    {"AT", "43", "at|aut|österreich|oesterreich|austria|autriche"},
    {"CH", "41", "ch|che|schweiz|switzerland|suisse|svizzera"},
    {"LI", "423", "li|lie|liechtenstein"},
    {"FR", "33", "fr|fra|frankreich|france"},
    {"BE", "32", "be|bel|belgien|belgium|belgique"},
    {"NL", "31", "nl|nld|niederlande|netherlands|the netherlands|pays-bas|holland"},
    {"LU", "352", "lu|lux|luxemburg|luxembourg"},
    {"DK", "45", "dk|dnk|dänemark|denmark|danemark"},
    {"PL", "48", "pl|pol|polen|poland|pologne"},
    {"CZ", "420", "cz|cze|tschechien|czechia|czech republic|tchéquie|république tchèque"},
    {"IT", "39", "it|ita|italien|italy|italie"},
};

const KnownCountry *knownCountry(const QString &nameOrRegion)
{
    static const QHash<QString, const KnownCountry *> kByName = [] {
        QHash<QString, const KnownCountry *> byName;
        for (const KnownCountry &country : kKnownCountries)
            for (const QString &name : QString::fromUtf8(country.names).split(u'|'))
                byName.insert(name, &country);
        return byName;
    }();
    return kByName.value(nameOrRegion.trimmed().toLower());
}

} // namespace

ForeignNumbers::ForeignNumbers(QString modulePath)
    : m_modulePath(modulePath.isEmpty() ? moduleDirectory() + QLatin1String(phonenumbers::kModuleName)
                                        : std::move(modulePath))
{}

bool ForeignNumbers::load()
{
    if (!m_tried) {
        m_tried = true;
        const ModuleLoad module =
            loadModule(m_modulePath, builtPhoneNumberModule(),
                       {phonenumbers::kRegionOfCountrySymbol, phonenumbers::kCallingCodeSymbol,
                        phonenumbers::kInternationalFormSymbol, phonenumbers::kReadableFormSymbol});
        if (module.functions.isEmpty()) {
            m_loadError = module.problem;
        } else {
            m_regionOfCountry = reinterpret_cast<phonenumbers::RegionOfCountryFunction>(module.functions[0]);
            m_callingCode = reinterpret_cast<phonenumbers::CallingCodeFunction>(module.functions[1]);
            m_internationalForm = reinterpret_cast<phonenumbers::InternationalFormFunction>(module.functions[2]);
            m_readableForm = reinterpret_cast<phonenumbers::ReadableFormFunction>(module.functions[3]);
        }
    }
    return m_internationalForm;
}

ForeignNumbers &ForeignNumbers::shared()
{
    static ForeignNumbers numbers;
    return numbers;
}

bool ForeignNumbers::isValid(const QString &international)
{
    if (international.isEmpty() || !load())
        return false;
    QString checked;
    // "ZZ": no region; the number carries its own.
    m_internationalForm(QLatin1Char('+') + international, QStringLiteral("ZZ"), &checked);
    return !checked.isEmpty();
}

QString ForeignNumbers::readable(const QString &international)
{
    QString readable;
    if (!international.isEmpty() && load())
        m_readableForm(international, &readable);
    return readable;
}

void ForeignNumbers::prepare()
{
    readable(QStringLiteral("4930123456"));
}

QString ForeignNumbers::regionOfCountry(const QString &country)
{
    if (country.trimmed().isEmpty())
        return {};
    if (load())
        return cached(m_regions, country, m_regionOfCountry);
    const KnownCountry *known = knownCountry(country);
    return QLatin1String(known ? known->region : "ZZ");
}

ForeignNumbers::Reading ForeignNumbers::read(const QString &typed, const QString &region, const QString &ownCountryCode)
{
    // An international number means the same from anywhere: the register's rules read it.
    const QString trimmed = typed.trimmed();
    if (region.isEmpty() || trimmed.startsWith(u'+') || filterDialChars(trimmed).startsWith(u"00"))
        return {};
    if (!load()) {
        const KnownCountry *known = knownCountry(region);
        Reading reading;
        reading.moduleMissing = !known || QLatin1String(known->callingCode) != ownCountryCode;
        return reading;
    }
    const QString callingCode = cached(m_callingCodes, region, m_callingCode);
    if (callingCode.isEmpty() || callingCode == ownCountryCode)
        return {};
    Reading reading;
    m_internationalForm(trimmed, region, &reading.international);
    reading.invalidThere = reading.international.isEmpty();
    return reading;
}

} // namespace quirlanto
