#pragma once

#include "numbers/phonenumbermodule.h"

#include <QHash>
#include <QString>

namespace quirlanto {

// Numbers written as they are dialed within another country, read by the phone-number module,
// which is loaded on first use (see phonenumbermodule.h).
class ForeignNumbers {
public:
    // modulePath empty: the module of this program.
    explicit ForeignNumbers(QString modulePath = {});

    // The region code ("FR") of a country as an address names it, empty when unknown. Without the
    // module only a few neighbours are known by name, and any other country is "ZZ": abroad,
    // unless known as the own.
    QString regionOfCountry(const QString &country);

    struct Reading {
        // The register's international form; empty when the register's own rules decide.
        QString international;
        // Written as within a region abroad, but no valid number there.
        bool invalidThere = false;
        // Written as within a region abroad, but the module to read it is missing.
        bool moduleMissing = false;
    };
    // `typed` read as a number of `region`, when the region lies abroad and the number carries no
    // international prefix.
    Reading read(const QString &typed, const QString &region, const QString &ownCountryCode);

    // Whether digits in international form (country code first) are a valid number; false
    // also when the module cannot be loaded.
    bool isValid(const QString &international);

    // `international` grouped as its country writes it ("+49 30 1234567"); empty when it is no
    // valid number or the module cannot be loaded.
    QString readable(const QString &international);

    // Loads the module and lets it read its tables, ahead of a use that is near.
    void prepare();

    // The program's one reader; the module is loaded on its first use.
    static ForeignNumbers &shared();

    // Why the module could not be loaded; empty while it is loaded or not yet needed.
    QString loadError() const { return m_loadError; }

private:
    bool load();

    QString m_modulePath;
    QString m_loadError;
    bool m_tried = false;
    phonenumbers::RegionOfCountryFunction m_regionOfCountry = nullptr;
    phonenumbers::CallingCodeFunction m_callingCode = nullptr;
    phonenumbers::InternationalFormFunction m_internationalForm = nullptr;
    phonenumbers::ReadableFormFunction m_readableForm = nullptr;
    // A file names few countries, each thousands of times.
    QHash<QString, QString> m_regions, m_callingCodes;
};

} // namespace quirlanto
