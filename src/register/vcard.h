#pragma once

#include "options/settings.h"
#include "register/phoneentry.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace quirlanto {

struct VCardPhone {
    QString number;    // as written, without "tel:"
    QStringList types; // lower case: "cell", "home", "work", "fax", …
};

struct VCardAddress {
    QString country;   // as written: "Frankreich", "FR", …
    QStringList types; // lower case: "home", "work", …
};

struct VCardContact {
    QString family, given; // from N
    QString formattedName; // FN
    QString organisation;  // first part of ORG
    QList<VCardPhone> phones;
    QList<VCardAddress> addresses; // those naming a country
    bool trunkZero = true;         // our own export marks entries dialled without the "0"
};

struct VCardReadResult {
    QList<VCardContact> contacts;
    QString error; // German, empty when the text was read
};

inline constexpr qint64 kMaxVCardFileSize = 10 * 1024 * 1024;

// vCard 2.1, 3.0 and 4.0 as phones and mail programs write them.
VCardReadResult parseVCards(QByteArrayView data);
VCardReadResult readVCardFile(const QString &path);

class ForeignNumbers;

struct ImportCandidate {
    PhoneEntry entry;
    QString written; // the number as the file has it
    // Not to be taken unseen: the number has letters, or it is no valid number of the country
    // of the contact's address.
    bool doubtful = false;
};

// Each voice number as an entry of the register: names folded as the entry editor does,
// numbers in the register's international form. With `foreign`, a number without an
// international prefix of a contact whose address lies abroad is read as that country writes
// it, when it is valid there. Words in capitals ("0800 FLOWERS") are dialled by their keys.
QList<ImportCandidate> importCandidates(const QList<VCardContact> &contacts, const Settings &settings,
                                        ForeignNumbers *foreign = nullptr);

// One vCard 3.0 text in UTF-8, one contact per entry; `category` (the card's name) becomes the
// contacts' group in other address books.
QByteArray vCardsFromEntries(const QList<PhoneEntry> &entries, const QString &category = {});

} // namespace quirlanto
