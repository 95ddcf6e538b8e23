#include "numbers/writtennumber.h"

#include <algorithm>

namespace quirlanto {

namespace {

qsizetype skipSpaces(const QString &text, qsizetype i)
{
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return i;
}

QChar keypadDigit(QChar letter)
{
    static const char kKeys[] = "22233344455566677778889999"; // A to Z
    return QLatin1Char(kKeys[letter.unicode() - 'A']);
}

} // namespace

bool isDialChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || u == u',' || u == u'!';
}

QString filterDialChars(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (isDialChar(c))
            result += c;
    }
    return result;
}

bool hasDigit(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString dropTrunkZeroAfterCountryCode(const QString &written)
{
    const qsizetype start = skipSpaces(written, 0);
    const QStringView head = QStringView(written).mid(start);
    if (!head.startsWith(u'+') && !head.startsWith(u"00"))
        return written;

    // The first "(0)", blanks allowed inside the parentheses.
    for (qsizetype open = written.indexOf(u'(', start); open >= 0; open = written.indexOf(u'(', open + 1)) {
        qsizetype i = skipSpaces(written, open + 1);
        if (i >= written.size() || written.at(i) != u'0')
            continue;
        i = skipSpaces(written, i + 1);
        if (i >= written.size() || written.at(i) != u')')
            continue;
        QString result = written;
        result.remove(open, i + 1 - open);
        return result;
    }
    return written;
}

bool startsWithPlus(QStringView written)
{
    const auto first =
        std::find_if(written.begin(), written.end(), [](QChar c) { return c == u'+' || (c >= u'0' && c <= u'9'); });
    return first != written.end() && *first == u'+';
}

QString withKeypadWords(const QString &number, bool *letters)
{
    QString result = number;
    *letters = false;
    for (qsizetype i = 0; i < result.size();) {
        qsizetype end = i;
        while (end < result.size() && result[end].isLetter())
            ++end;
        if (end == i) {
            ++i;
            continue;
        }
        *letters = true;
        const QStringView word = QStringView(result).sliced(i, end - i);
        const bool keypadWord =
            word.size() >= 3 && std::all_of(word.begin(), word.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; });
        if (keypadWord)
            for (qsizetype k = i; k < end; ++k)
                result[k] = keypadDigit(result[k]);
        i = end;
    }
    return result;
}

QString ownCode(const QString &typed)
{
    QString digits;
    for (const QChar c : typed) {
        if (c == u' ' || c == u'\t')
            continue;
        if (c < u'0' || c > u'9')
            break;
        if (digits.isEmpty() && c == u'0')
            continue;
        digits.append(c);
    }
    return digits.isEmpty() ? QStringLiteral("0") : digits;
}

} // namespace quirlanto
