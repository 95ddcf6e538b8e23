#pragma once

#include "options/settings.h"
#include "register/phoneentry.h"
#include "register/vcardcodec.h"

#include <QList>
#include <QString>

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
    QString note; // German: why it is doubtful, and what was changed on the way
};

// Each voice number as an entry of the register: names folded as the entry editor does,
// numbers in the register's international form. With `foreign`, a number without an
// international prefix of a contact whose address lies abroad is read as that country writes
// it, when it is valid there, and numbers are grouped by it for the eye. Words in capitals
// ("0800 FLOWERS") are dialled by their keys.
QList<ImportCandidate> importCandidates(const QList<VCardContact> &contacts, const Settings &settings,
                                        ForeignNumbers *foreign = nullptr);

// One contact per entry, its number international with "+"; a name "Family, Given" also fills
// the name parts, and `category` (the card's name) becomes the contacts' group in other
// address books.
QList<VCardContact> contactsFromEntries(const QList<PhoneEntry> &entries, const QString &category = {});

} // namespace quirlanto
