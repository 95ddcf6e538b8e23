#include "support/textfields.h"

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

QByteArrayView trimBlanks(QByteArrayView bytes)
{
    while (!bytes.isEmpty() && bytes.front() == ' ')
        bytes = bytes.sliced(1);
    while (!bytes.isEmpty() && bytes.back() == ' ')
        bytes.chop(1);
    return bytes;
}

namespace {

bool isControlChar(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

} // namespace

bool hasControlChar(QStringView text)
{
    return std::any_of(text.begin(), text.end(), isControlChar);
}

QString controlCharsAsBlanks(QStringView text)
{
    if (!hasControlChar(text))
        return text.toString();
    QString out;
    out.reserve(text.size());
    bool inRun = false;
    for (const QChar c : text) {
        if (isControlChar(c)) {
            while (!inRun && out.endsWith(QLatin1Char(' ')))
                out.chop(1);
            if (!inRun)
                out.append(QLatin1Char(' '));
            inRun = true;
        } else if (!(inRun && c == QLatin1Char(' '))) {
            out.append(c);
            inRun = false;
        }
    }
    return out;
}

void quotesToApostrophes(QString &text)
{
    text.replace(QLatin1Char('"'), QLatin1Char('\''));
}

} // namespace quirlanto
