#pragma once

#include "options/settings.h"
#include "register/phoneentry.h"
#include "register/registercard.h"
#include "register/vcardcodec.h"

#include <QList>
#include <QString>
#include <optional>

namespace quirlanto {

class ForeignNumbers;

struct ImportCandidate {
    PhoneEntry entry;
    QString written;     // the number as the file has it
    QString shownNumber; // entry.number as people read it (numberdisplay.h)
    // Not to be taken unseen: the number has letters, or it is no valid number of the country
    // of the contact's address, or it may be read wrongly, or it is too long.
    bool doubtful = false;
    // Longer than the register holds (textlimits.h): it cannot be taken at all.
    bool tooLong = false;
    QString note;           // German: why it is doubtful, and what was changed on the way
    QStringList categories; // of its contact
};

// Each voice number as an entry of the register: names folded as the entry editor does,
// numbers in the register's international form. With `foreign`, a number without an
// international prefix of a contact whose address lies abroad is read as that country writes
// it, when it is valid there, and numbers are grouped by it for the eye. Words in capitals
// ("0800 FLOWERS") are dialled by their keys.
QList<ImportCandidate> importCandidates(const QList<VCardContact> &contacts, const Settings &settings,
                                        ForeignNumbers *foreign = nullptr);

// The card the first of `categories` naming one goes to (trimmed, case ignored), -1 when none does.
int cardNamedBy(const QStringList &categories, const CardNames &cardNames);

// "N Einträge importiert, M übersprungen (davon K Fax/Pager)." for `imported` of the numbers
// of `contacts`: every other one was skipped, fax and pager numbers among them.
QString importStatus(const QList<VCardContact> &contacts, int imported);

// One contact per person, its numbers international with "+": the entries an import made of a
// contact's numbers ("Name", "Name (mobil)", "Name (privat)", "Name (dienstlich)", "Name (2)" …)
// fold back into one, as far as an import gives the same names again; any other entry is a contact
// of its own. A name "Family, Given" also fills the name parts, and `category` (the card's name)
// becomes the contacts' group in other address books.
QList<VCardContact> contactsFromEntries(const QList<PhoneEntry> &entries, const QString &category = {});
// The shown card, or all cards, each contact with its card's name as its group.
QList<VCardContact> contactsFromCards(const RegisterCards &cards, std::optional<int> onlyCard = std::nullopt);

} // namespace quirlanto
