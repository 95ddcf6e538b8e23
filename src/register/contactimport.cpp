#include "register/contactimport.h"

#include "numbers/foreignnumbers.h"
#include "numbers/internationalform.h"
#include "numbers/numberdisplay.h"
#include "support/textfields.h"
#include "support/textlimits.h"
#include "support/windows1252.h"

#include <QSet>

#include <algorithm>

namespace quirlanto {

namespace {

QString nameOf(const VCardContact &contact)
{
    const QString family = contact.family.trimmed(), given = contact.given.trimmed();
    if (!family.isEmpty() && !given.isEmpty())
        return contact.family + QStringLiteral(", ") + contact.given;
    if (!family.isEmpty() || !given.isEmpty())
        return family.isEmpty() ? given : family;
    return contact.formattedName.trimmed().isEmpty() ? contact.organisation : contact.formattedName;
}

QString kindOf(const QStringList &types)
{
    if (types.contains(u"cell"))
        return QStringLiteral("mobil");
    if (types.contains(u"home"))
        return QStringLiteral("privat");
    if (types.contains(u"work"))
        return QStringLiteral("dienstlich");
    return {};
}

// The country of the address of the number's kind (home, work), else of the first address.
QString countryOf(const VCardContact &contact, const VCardPhone &phone)
{
    for (const VCardAddress &address : contact.addresses)
        for (const QLatin1StringView kind : {QLatin1StringView("home"), QLatin1StringView("work")})
            if (phone.types.contains(kind) && address.types.contains(kind))
                return address.country;
    return contact.addresses.isEmpty() ? QString() : contact.addresses.first().country;
}

} // namespace

QList<ImportCandidate> importCandidates(const QList<VCardContact> &contacts, const Settings &settings,
                                        ForeignNumbers *foreign)
{
    QList<ImportCandidate> candidates;
    for (const VCardContact &contact : contacts) {
        QList<const VCardPhone *> voice;
        for (const VCardPhone &phone : contact.phones)
            if (!phone.types.contains(u"fax") && !phone.types.contains(u"pager"))
                voice.append(&phone);
        QString name = nameOf(contact);
        // A damaged file may hold a name of megabytes for thousands of numbers: too long for each,
        // and only its start is worth a copy.
        if (name.size() > kMaxNameLength) {
            if (const QString stored = storedForm(name).trimmed(); stored.size() > kMaxNameLength)
                name = stored.left(kMaxNameLength) + QChar(u'…');
        }
        QSet<QString> used; // a contact may have thousands of numbers
        for (qsizetype i = 0; i < voice.size(); ++i) {
            QString suffix;
            if (voice.size() > 1) {
                QString kind = kindOf(voice[i]->types);
                if (kind.isEmpty() || used.contains(kind))
                    kind = i == 0 ? QString() : QString::number(i + 1);
                used.insert(kind);
                suffix = kind.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(kind);
            }
            const QString region = foreign && !contact.addresses.isEmpty()
                                       ? foreign->regionOfCountry(countryOf(contact, *voice[i]))
                                       : QString();
            const ContactNumber number = internationalFromContact(voice[i]->number, region, settings, foreign);
            const QString fullName = QString(name + suffix).trimmed();
            const PhoneEntry entry =
                makePhoneEntry(storedForm(fullName), storedForm(number.international), contact.zeroFlag);
            if (!isUsableEntry(entry)
                || std::none_of(entry.number.begin(), entry.number.end(), [](QChar c) { return c.isDigit(); }))
                continue;
            ImportCandidate candidate;
            candidate.entry = entry;
            candidate.written = voice[i]->number;
            candidate.shownNumber = readableNumber(entry.number, settings, foreign);
            // The next start would take a longer entry for damage.
            candidate.tooLong = entry.name.size() > kMaxNameLength || entry.number.size() > kMaxNumberLength;
            candidate.doubtful = number.doubtful || number.moduleMissing || candidate.tooLong;
            QStringList notes;
            if (candidate.tooLong)
                notes << QStringLiteral("Zu lang für das Telefonregister (Name höchstens %1, Nummer höchstens %2 "
                                        "Zeichen); der Eintrag kann nicht übernommen werden.")
                             .arg(kMaxNameLength)
                             .arg(kMaxNumberLength);
            if (number.doubtful)
                notes << QStringLiteral("Bitte prüfen: Die Nummer enthält Buchstaben oder passt nicht zum "
                                        "Land der Anschrift.");
            if (number.moduleMissing)
                notes << QStringLiteral("Das Modul für Rufnummern anderer Länder fehlt; die Nummer ist vielleicht "
                                        "falsch gelesen.");
            if (hasControlChar(fullName) || hasControlChar(number.international))
                notes << QStringLiteral("Steuerzeichen wie Zeilenumbrüche wurden durch Leerzeichen ersetzt.");
            candidate.note = notes.join(u'\n');
            candidates.append(candidate);
        }
    }
    return candidates;
}

QList<VCardContact> contactsFromEntries(const QList<PhoneEntry> &entries, const QString &category)
{
    QList<VCardContact> contacts;
    contacts.reserve(entries.size());
    for (const PhoneEntry &entry : entries) {
        VCardContact contact;
        contact.formattedName = entry.name;
        const qsizetype comma = entry.name.indexOf(QLatin1String(", "));
        if (comma > 0 && comma + 2 < entry.name.size()) {
            contact.family = entry.name.left(comma);
            contact.given = entry.name.mid(comma + 2);
        }
        contact.phones.append({QLatin1Char('+') + entry.number, {QStringLiteral("voice")}});
        if (!category.trimmed().isEmpty())
            contact.categories.append(category.trimmed());
        contact.zeroFlag = entry.zeroFlag;
        contacts.append(contact);
    }
    return contacts;
}

} // namespace quirlanto
