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

} // namespace

ForeignNumbers::ForeignNumbers(QString modulePath)
    : m_modulePath(modulePath.isEmpty() ? moduleDirectory() + QLatin1String(phonenumbers::kModuleName)
                                        : std::move(modulePath))
{}

bool ForeignNumbers::load()
{
    if (!m_tried) {
        m_tried = true;
        const ModuleLoad module = loadModule(m_modulePath, builtPhoneNumberModule(),
                                             {phonenumbers::kRegionOfCountrySymbol, phonenumbers::kCallingCodeSymbol,
                                              phonenumbers::kInternationalFormSymbol});
        if (module.functions.isEmpty()) {
            m_loadError = module.problem;
        } else {
            m_regionOfCountry = reinterpret_cast<phonenumbers::RegionOfCountryFunction>(module.functions[0]);
            m_callingCode = reinterpret_cast<phonenumbers::CallingCodeFunction>(module.functions[1]);
            m_internationalForm = reinterpret_cast<phonenumbers::InternationalFormFunction>(module.functions[2]);
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

QString ForeignNumbers::regionOfCountry(const QString &country)
{
    return country.trimmed().isEmpty() || !load() ? QString() : cached(m_regions, country, m_regionOfCountry);
}

ForeignNumbers::Reading ForeignNumbers::read(const QString &typed, const QString &region, const QString &ownCountryCode)
{
    // An international number means the same from anywhere: the register's rules read it.
    const QString trimmed = typed.trimmed();
    if (region.isEmpty() || trimmed.startsWith(u'+') || filterDialChars(trimmed).startsWith(u"00") || !load())
        return {};
    const QString callingCode = cached(m_callingCodes, region, m_callingCode);
    if (callingCode.isEmpty() || callingCode == ownCountryCode)
        return {};
    Reading reading;
    m_internationalForm(trimmed, region, &reading.international);
    reading.invalidThere = reading.international.isEmpty();
    return reading;
}

} // namespace quirlanto
