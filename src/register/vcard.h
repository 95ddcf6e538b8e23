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

struct VCardContact {
    QString family, given; // from N
    QString formattedName; // FN
    QString organisation;  // first part of ORG
    QList<VCardPhone> phones;
    bool trunkZero = true; // our own export marks entries dialled without the "0"
};

struct VCardReadResult {
    QList<VCardContact> contacts;
    QString error; // German, empty when the text was read
};

inline constexpr qint64 kMaxVCardFileSize = 10 * 1024 * 1024;

// vCard 2.1, 3.0 and 4.0 as phones and mail programs write them.
VCardReadResult parseVCards(QByteArrayView data);
VCardReadResult readVCardFile(const QString &path);

// Each voice number as an entry of the register: names folded as the entry editor does,
// numbers in the register's international form.
QList<PhoneEntry> entriesFromContacts(const QList<VCardContact> &contacts, const Settings &settings);

// One vCard 3.0 text in UTF-8, one contact per entry.
QByteArray vCardsFromEntries(const QList<PhoneEntry> &entries);

} // namespace quirlanto
