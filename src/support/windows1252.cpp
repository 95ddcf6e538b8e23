#include "support/windows1252.h"

#include "support/textfields.h"

#include <array>

namespace quirlanto {

namespace {

// 0x80..0x9F; the five unassigned bytes keep their C1 code so they survive a round trip.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Letters with a stroke have no decomposition; they stand for their base letter all the same.
constexpr std::array<std::pair<char16_t, char>, 12> kStrokeLetters = {{
    {0x0110, 'D'},
    {0x0111, 'd'},
    {0x0126, 'H'},
    {0x0127, 'h'},
    {0x0131, 'i'},
    {0x013F, 'L'},
    {0x0140, 'l'},
    {0x0141, 'L'},
    {0x0142, 'l'},
    {0x0166, 'T'},
    {0x0167, 't'},
    {0x0180, 'b'},
}};

char encodeExact(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (std::size_t i = 0; i < kHighTable.size(); ++i) {
        if (kHighTable[i] == c)
            return char(0x80 + i);
    }
    return 0;
}

char encodeOne(char16_t c)
{
    // "ř" is "r" with a mark: the base letter is kept rather than a "?".
    for (int depth = 0; depth < 4; ++depth) {
        if (const char exact = encodeExact(c))
            return exact;
        const QChar ch(c);
        if (ch.decompositionTag() != QChar::Canonical)
            break;
        c = ch.decomposition().at(0).unicode();
    }
    for (const auto &[letter, base] : kStrokeLetters) {
        if (letter == c)
            return base;
    }
    return '?';
}

} // namespace

QChar *fromWindows1252(QByteArrayView bytes, QChar *out)
{
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = (u >= 0x80 && u <= 0x9F) ? QChar(kHighTable[u - 0x80]) : QChar(u);
    }
    return out;
}

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    fromWindows1252(bytes, text.data());
    return text;
}

QString storedForm(QStringView text)
{
    return fromWindows1252(toWindows1252(controlCharsAsBlanks(text)));
}

QByteArray toWindows1252(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            *out++ = char(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i; // one code point outside the page, one "?"
            *out++ = '?';
        } else {
            *out++ = QChar::isSurrogate(c) ? '?' : encodeOne(c);
        }
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

} // namespace quirlanto
