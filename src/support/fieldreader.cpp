#include "support/fieldreader.h"

#include "support/windows1252.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace quirlanto {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// strtod follows the process locale, which may want a decimal comma; the files always use ".".
double strtodC(const char *text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    errno = 0;
    return strtod_l(text, nullptr, cLocale);
}

// The number rule of the field stream; `bad` tells whether the text was not a clean number
// (it then reads as its leading number part, or 0).
double parseFieldNumber(QByteArrayView text, bool *bad)
{
    *bad = false;
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    if (begin == end)
        return 0;

    // Grammar: [sign] digits [. digits] [e [sign] digits], at least one digit in the mantissa.
    qsizetype p = begin;
    if (text[p] == '+' || text[p] == '-')
        ++p;
    const qsizetype mantissaStart = p;
    while (p < end && isDigit(text[p]))
        ++p;
    bool digits = p > mantissaStart;
    if (p < end && text[p] == '.') {
        const qsizetype fractionStart = ++p;
        while (p < end && isDigit(text[p]))
            ++p;
        digits = digits || p > fractionStart;
    }
    if (!digits) {
        *bad = true;
        return 0;
    }
    if (p < end && (text[p] == 'e' || text[p] == 'E')) {
        qsizetype q = p + 1;
        if (q < end && (text[q] == '+' || text[q] == '-'))
            ++q;
        const qsizetype exponentStart = q;
        while (q < end && isDigit(text[q]))
            ++q;
        if (q > exponentStart)
            p = q;
    }
    *bad = p != end;

    // Most fields are short plain integers; they need no conversion routine.
    const qsizetype intDigits = p - mantissaStart;
    if (intDigits <= 9 && std::all_of(text.data() + mantissaStart, text.data() + p, isDigit)) {
        qint64 value = 0;
        for (qsizetype i = mantissaStart; i < p; ++i)
            value = value * 10 + (text[i] - '0');
        return double(text[begin] == '-' ? -value : value);
    }

    const QByteArray number(text.data() + begin, p - begin);
    double value = strtodC(number.constData());
    if (std::isinf(value)) {
        *bad = true;
        value = value < 0 ? -DBL_MAX : DBL_MAX;
    }
    return value;
}

} // namespace

FieldReader::FieldReader(QByteArray data, qsizetype startOffset)
    : m_data(std::move(data))
    , m_pos(qBound(qsizetype(0), startOffset, m_data.size()))
{}

bool FieldReader::atEnd() const
{
    for (qsizetype i = m_pos; i < m_data.size(); ++i) {
        const char c = m_data.at(i);
        if (!isBlank(c) && !isLineEnd(c))
            return false;
    }
    return true;
}

void FieldReader::consumeSeparator()
{
    const qsizetype n = m_data.size();
    if (m_pos >= n) {
        m_atLineStart = true;
        return;
    }
    const char c = m_data.at(m_pos++);
    if (c == ',') {
        m_atLineStart = false;
        return;
    }
    if (c == '\r' && m_pos < n && m_data.at(m_pos) == '\n')
        ++m_pos;
    m_atLineStart = true;
}

QByteArrayView FieldReader::readRawField()
{
    const qsizetype n = m_data.size();
    for (;;) {
        while (m_pos < n && isBlank(m_data.at(m_pos)))
            ++m_pos;
        if (m_pos >= n) {
            m_hitEnd = true;
            m_lastStart = n;
            m_lastRaw = {};
            return {};
        }
        if (!(m_atLineStart && isLineEnd(m_data.at(m_pos))))
            break;
        consumeSeparator(); // an empty line
    }

    m_lastStart = m_pos;
    const char *data = m_data.constData();
    QByteArrayView field;
    if (data[m_pos] == '"') {
        const qsizetype close = m_data.indexOf('"', m_pos + 1);
        if (close < 0) {
            m_unclosedQuote = true;
            field = QByteArrayView(data + m_pos + 1, n - m_pos - 1);
            m_pos = n;
        } else {
            field = QByteArrayView(data + m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
            while (m_pos < n && data[m_pos] != ',' && !isLineEnd(data[m_pos]))
                ++m_pos;
        }
    } else {
        const qsizetype start = m_pos;
        while (m_pos < n && data[m_pos] != ',' && !isLineEnd(data[m_pos]))
            ++m_pos;
        qsizetype end = m_pos;
        while (end > start && isBlank(data[end - 1]))
            --end;
        field = QByteArrayView(data + start, end - start);
    }
    consumeSeparator();
    m_lastRaw = field;
    return field;
}

void FieldReader::skipToNextLine()
{
    if (m_atLineStart)
        return;
    while (m_pos < m_data.size() && !isLineEnd(m_data.at(m_pos)))
        ++m_pos;
    consumeSeparator();
}

QString FieldReader::readText()
{
    return fromWindows1252(readTextBytes());
}

QByteArrayView FieldReader::readTextBytes()
{
    m_lastBad = false;
    return readRawField();
}

double FieldReader::readNumber()
{
    const QByteArrayView raw = readRawField();
    bool bad = false;
    const double value = parseFieldNumber(raw, &bad);
    m_lastBad = bad;
    return value;
}

qint16 FieldReader::readInt16()
{
    const double rounded = std::nearbyint(readNumber()); // default rounding: halves to even
    if (rounded < -32768.0 || rounded > 32767.0) {
        m_lastBad = true;
        return rounded < 0 ? qint16(-32768) : qint16(32767);
    }
    return qint16(rounded);
}

} // namespace quirlanto
