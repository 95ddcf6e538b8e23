#include "register/contactimport.h"

#include "numbers/foreignnumbers.h"
#include "numbers/internationalform.h"
#include "numbers/numberdisplay.h"
#include "support/textfields.h"
#include "support/textlimits.h"
#include "support/windows1252.h"

#include <QHash>
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

// Nobody is dialled on a fax or a pager.
bool isFaxOrPager(const VCardPhone &phone)
{
    return phone.types.contains(u"fax") || phone.types.contains(u"pager");
}

// An entry's name as an import made it: the contact's name and what it added for the number.
struct NameKind {
    QString person;
    QString type;      // of the number in a vCard
    int position = -1; // where the number must stand among the contact's numbers, -1 anywhere
};

NameKind nameKind(const QString &name)
{
    static const std::pair<QLatin1StringView, QLatin1StringView> kKinds[] = {
        {QLatin1StringView("mobil"), QLatin1StringView("cell")},
        {QLatin1StringView("privat"), QLatin1StringView("home")},
        {QLatin1StringView("dienstlich"), QLatin1StringView("work")}};
    const qsizetype open = name.lastIndexOf(QLatin1String(" ("));
    if (open > 0 && name.endsWith(u')') && !name.left(open).trimmed().isEmpty()) {
        const QString kind = name.sliced(open + 2, name.size() - open - 3);
        for (const auto &[word, type] : kKinds)
            if (kind == word)
                return {name.left(open), type, -1};
        // The import numbers the further numbers of a contact by their place: "(2)" is the second.
        bool isNumber = false;
        const int place = kind.startsWith(u'0') ? 0 : kind.toInt(&isNumber);
        if (isNumber && place >= 2)
            return {name.left(open), QStringLiteral("voice"), place - 1};
    }
    return {name, QStringLiteral("voice"), 0};
}

// The entries of one name and zero flag, in card order: the numbers of one contact, in the order
// in which an import gives each its present name, and the entries that stay contacts of their own.
struct Fold {
    QList<qsizetype> numbers; // empty when nothing folds
    QList<qsizetype> alone;
};

Fold fold(const QList<qsizetype> &members, const QList<NameKind> &kinds)
{
    Fold result;
    std::optional<qsizetype> plain;
    QList<qsizetype> typed, placed; // `placed` by their place
    QSet<QString> typesTaken;
    QSet<int> placesTaken;
    for (const qsizetype member : members) {
        const NameKind &kind = kinds[member];
        if (kind.position == 0 && !plain) {
            plain = member;
        } else if (kind.position < 0 && !typesTaken.contains(kind.type)) {
            typesTaken.insert(kind.type);
            typed.append(member);
        } else if (kind.position > 0 && !placesTaken.contains(kind.position)) {
            placesTaken.insert(kind.position);
            placed.append(member);
        } else {
            result.alone.append(member); // the same name twice
        }
    }
    std::sort(placed.begin(), placed.end(),
              [&kinds](qsizetype a, qsizetype b) { return kinds[a].position < kinds[b].position; });
    // The first number is the plain one or a typed one; a place beyond the numbers left would
    // come back as another.
    const qsizetype unplaced = (plain ? 1 : 0) + typed.size();
    qsizetype fitting = 0;
    while (unplaced > 0 && fitting < placed.size() && kinds[placed[fitting]].position <= unplaced + fitting)
        ++fitting;
    result.alone += placed.sliced(fitting);
    const qsizetype count = unplaced + fitting;
    if (count < 2) {
        // A single number keeps its whole name: an import adds nothing to it.
        if (plain)
            result.alone.append(*plain);
        result.alone += typed + placed.first(fitting);
        return result;
    }
    QList<qsizetype> places(count, -1);
    if (plain)
        places[0] = *plain;
    for (qsizetype i = 0; i < fitting; ++i)
        places[kinds[placed[i]].position] = placed[i];
    auto next = typed.cbegin();
    for (qsizetype &place : places)
        if (place < 0)
            place = *next++;
    result.numbers = places;
    return result;
}

VCardContact contactNamed(const QString &name, const QString &category, bool zeroFlag)
{
    VCardContact contact;
    contact.formattedName = name;
    const qsizetype comma = name.indexOf(QLatin1String(", "));
    if (comma > 0 && comma + 2 < name.size()) {
        contact.family = name.left(comma);
        contact.given = name.mid(comma + 2);
    }
    if (!category.trimmed().isEmpty())
        contact.categories.append(category.trimmed());
    contact.zeroFlag = zeroFlag;
    return contact;
}

} // namespace

QList<ImportCandidate> importCandidates(const QList<VCardContact> &contacts, const Settings &settings,
                                        ForeignNumbers *foreign)
{
    QList<ImportCandidate> candidates;
    for (const VCardContact &contact : contacts) {
        QList<const VCardPhone *> voice;
        for (const VCardPhone &phone : contact.phones)
            if (!isFaxOrPager(phone))
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
            candidate.categories = contact.categories;
            candidates.append(candidate);
        }
    }
    return candidates;
}

int cardNamedBy(const QStringList &categories, const CardNames &cardNames)
{
    for (const QString &category : categories) {
        // As the card's name would be stored.
        const QString name = storedForm(category).trimmed();
        for (int card = 0; card < kCardCount && !name.isEmpty(); ++card)
            if (name.compare(cardNames[card].trimmed(), Qt::CaseInsensitive) == 0)
                return card;
    }
    return -1;
}

QString importStatus(const QList<VCardContact> &contacts, int imported)
{
    qsizetype numbers = 0, faxOrPager = 0;
    for (const VCardContact &contact : contacts) {
        numbers += contact.phones.size();
        faxOrPager += std::count_if(contact.phones.begin(), contact.phones.end(), isFaxOrPager);
    }
    QString text = QStringLiteral("%1 %2 importiert, %3 übersprungen")
                       .arg(imported)
                       .arg(imported == 1 ? QStringLiteral("Eintrag") : QStringLiteral("Einträge"))
                       .arg(qMax(qsizetype(0), numbers - imported));
    if (faxOrPager > 0)
        text += QStringLiteral(" (davon %1 Fax/Pager)").arg(faxOrPager);
    return text + u'.';
}

QList<VCardContact> contactsFromEntries(const QList<PhoneEntry> &entries, const QString &category)
{
    QList<NameKind> kinds;
    kinds.reserve(entries.size());
    QHash<QPair<QString, bool>, QList<qsizetype>> people; // by name and zero flag
    QList<QPair<QString, bool>> order;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        kinds.append(nameKind(entries[i].name));
        const QPair<QString, bool> person{kinds[i].person, entries[i].zeroFlag};
        QList<qsizetype> &members = people[person];
        if (members.isEmpty())
            order.append(person);
        members.append(i);
    }
    // Each contact stands where its first entry stands.
    QList<QPair<qsizetype, VCardContact>> contacts;
    contacts.reserve(entries.size());
    const auto phone = [&entries](qsizetype i, const QString &type) {
        return VCardPhone{QLatin1Char('+') + entries[i].number, {type}};
    };
    for (const auto &person : std::as_const(order)) {
        const Fold folded = fold(people[person], kinds);
        if (!folded.numbers.isEmpty()) {
            VCardContact contact = contactNamed(person.first, category, person.second);
            for (const qsizetype i : folded.numbers)
                contact.phones.append(phone(i, kinds[i].type));
            contacts.append({*std::min_element(folded.numbers.begin(), folded.numbers.end()), contact});
        }
        for (const qsizetype i : folded.alone) {
            VCardContact contact = contactNamed(entries[i].name, category, person.second);
            contact.phones.append(phone(i, kinds[i].type));
            contacts.append({i, contact});
        }
    }
    std::stable_sort(contacts.begin(), contacts.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<VCardContact> result;
    result.reserve(contacts.size());
    for (auto &[first, contact] : contacts)
        result.append(std::move(contact));
    return result;
}

QList<VCardContact> contactsFromCards(const RegisterCards &cards, std::optional<int> onlyCard)
{
    QList<VCardContact> contacts;
    for (int card = 0; card < kCardCount; ++card)
        if (!onlyCard || card == *onlyCard)
            contacts += contactsFromEntries(cards[card].entries, cards[card].cardName);
    return contacts;
}

} // namespace quirlanto
