#pragma once

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
    QStringList categories;
    bool zeroFlag = true; // our own export marks entries dialled without the "0"
};

struct VCardReadResult {
    QList<VCardContact> contacts;
    QString error;   // German, empty when the text was read
    int damaged = 0; // cards begun but never ended: cut off, or a card begun inside them
};

inline constexpr qint64 kMaxVCardFileSize = 10 * 1024 * 1024;

// vCard 2.1, 3.0 and 4.0 as phones and mail programs write them.
VCardReadResult parseVCards(QByteArrayView data);
VCardReadResult readVCardFile(const QString &path);

// vCard 3.0 in UTF-8, lines folded at 75 bytes. A number is written as it is, but for a line
// break; a type only when it is a plain word.
QByteArray vCardBytes(const QList<VCardContact> &contacts);

} // namespace quirlanto
