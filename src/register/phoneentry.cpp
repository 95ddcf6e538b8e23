#include "register/phoneentry.h"

#include "support/windows1252.h"

#include <algorithm>

namespace quirlanto {

QStringView trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

// The separator ends in the only control character of an item, so look for that first.
qsizetype findSeparator(QStringView item)
{
    constexpr qsizetype kBlanks = 150;
    const QStringView blanks = QStringView(listSeparator()).left(kBlanks);
    qsizetype at = item.indexOf(QChar(1), kBlanks);
    while (at >= 0) {
        if (item.mid(at - kBlanks, kBlanks) == blanks)
            return at - kBlanks;
        at = item.indexOf(QChar(1), at + 1);
    }
    return -1;
}

const QString &listSeparator()
{
    static const QString separator = QString(150, QLatin1Char(' ')) + QChar(1);
    return separator;
}

QString makeItemText(const QString &name, const QString &number, int flag)
{
    // One allocation per item: loading a large register builds thousands of these.
    const QStringView trimmedName = trimBlanks(name);
    const QStringView trimmedNumber = trimBlanks(number);
    QString item;
    item.reserve(trimmedName.size() + listSeparator().size() + trimmedNumber.size() + 2);
    item.append(trimmedName).append(listSeparator()).append(trimmedNumber);
    item.append(QLatin1Char('~')).append(QChar(48 + flag));
    return item;
}

QString makeItemTextFromFile(QByteArrayView name, QByteArrayView number, int flag)
{
    // Only the blank itself is trimmed, as above; no other byte decodes to it.
    const auto trimmed = [](QByteArrayView bytes) {
        while (!bytes.isEmpty() && bytes.front() == ' ')
            bytes = bytes.sliced(1);
        while (!bytes.isEmpty() && bytes.back() == ' ')
            bytes.chop(1);
        return bytes;
    };
    name = trimmed(name);
    number = trimmed(number);
    const QString &separator = listSeparator();
    QString item(name.size() + separator.size() + number.size() + 2, Qt::Uninitialized);
    QChar *out = fromWindows1252(name, item.data());
    out = std::copy(separator.cbegin(), separator.cend(), out);
    out = fromWindows1252(number, out);
    *out++ = QLatin1Char('~');
    *out = QChar(48 + flag);
    return item;
}

ItemParts splitItem(QStringView item)
{
    const qsizetype at = findSeparator(item);
    if (at < 0)
        return {item, {}, {}, 0};
    const QStringView tail = item.mid(at + listSeparator().size());
    const QChar last = tail.isEmpty() ? QChar() : tail.back();
    const qint16 flag =
        (last >= QLatin1Char('0') && last <= QLatin1Char('9')) ? qint16(last.unicode() - '0') : qint16(0);
    return {item.left(at), tail, tail.left(qMax(qsizetype(0), tail.size() - 2)), flag};
}

QString entryName(const QString &item)
{
    return splitItem(item).name.toString();
}

QString entryTail(const QString &item)
{
    return splitItem(item).tail.toString();
}

QString entryNumber(const QString &item)
{
    return splitItem(item).number.toString();
}

qint16 entryZeroFlag(const QString &item)
{
    return splitItem(item).zeroFlag;
}

PhoneEntry phoneEntryFromItem(const QString &item)
{
    const ItemParts parts = splitItem(item);
    return PhoneEntry{parts.name.toString(), parts.number.toString(), parts.zeroFlag};
}

void quotesToApostrophes(QString &text)
{
    text.replace(QLatin1Char('"'), QLatin1Char('\''));
}

} // namespace quirlanto
