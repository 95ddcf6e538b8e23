#pragma once

#include <QByteArrayView>
#include <QString>

namespace quirlanto {

// An entry as the user sees it. In memory the register keeps entries as item texts
// (name, listSeparator, number, "~", flag digit), built and taken apart only here.
struct PhoneEntry {
    QString name;
    QString number;
    int zeroFlag = 0; // 0 or 1

    bool operator==(const PhoneEntry &) const = default;
};

// 150 blanks and the character with code 1.
const QString &listSeparator();

// Position of the first listSeparator in the item, -1 when there is none.
qsizetype findSeparator(QStringView item);

// An item taken apart in one pass; the views point into the item. Without a separator the
// whole item is the name. The zero flag is the tail's last character when a digit, else 0.
struct ItemParts {
    QStringView name;
    QStringView tail; // number, "~", flag digit
    QStringView number;
    qint16 zeroFlag = 0;
};
ItemParts splitItem(QStringView item);

// Only blanks count, as in the stored files; a tab inside a name is the user's.
QStringView trimBlanks(QStringView text);

QString makeItemText(const QString &name, const QString &number, int flag);
// The same from name and number as the register file holds them (Windows-1252), decoded
// straight into the item: loading a large register builds thousands of these.
QString makeItemTextFromFile(QByteArrayView name, QByteArrayView number, int flag);
QString entryName(const QString &item);
QString entryTail(const QString &item);
QString entryNumber(const QString &item);
qint16 entryZeroFlag(const QString &item);

PhoneEntry phoneEntryFromItem(const QString &item);
inline QString itemText(const PhoneEntry &e)
{
    return makeItemText(e.name, e.number, e.zeroFlag);
}

// Replaces each '"' by '\'' in place, keeping the length.
void quotesToApostrophes(QString &text);

} // namespace quirlanto
