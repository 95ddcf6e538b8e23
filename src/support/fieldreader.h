#pragma once

#include <QByteArray>
#include <QString>

namespace quirlanto {

// Reads the comma/line-end separated field stream of both data files (Windows-1252 text).
// Commas and line ends (CR, LF, CR LF) separate fields; blanks before a field are skipped;
// a field starting with '"' runs to the next '"' and anything up to the next separator is dropped.
// A line holding nothing but blanks carries no field (hand-edited files often have them).
class FieldReader {
public:
    explicit FieldReader(QByteArray data, qsizetype startOffset = 0);

    // True when nothing but line ends and blanks remain (a final line end counts as the end).
    bool atEnd() const;
    // True once a read ran past the end of the data (the field was missing).
    bool hitEnd() const { return m_hitEnd; }
    // True when the last number field could not be read as a number, or lay outside 16 bits for
    // readInt16. Such a field reads as its leading number part, 0 when there is none.
    bool lastNumberWasBad() const { return m_lastBad; }
    // True once a quoted field had no closing quote (it ran to the end of the data).
    bool hadUnclosedQuote() const { return m_unclosedQuote; }

    QString readText();
    // The raw bytes of a text field, quotes removed; valid as long as the reader.
    QByteArrayView readTextBytes();
    // Decimal with "." as the point; empty reads 0; leading number part only ("8x" reads 8).
    double readNumber();
    // readNumber rounded half to even and clamped to 16 bits; out-of-range sets lastNumberWasBad.
    qint16 readInt16();

    qsizetype offset() const { return m_pos; }
    // Where the last field read began (after skipped blanks), and its raw bytes (quotes removed).
    qsizetype lastFieldStart() const { return m_lastStart; }
    QByteArrayView lastRawField() const { return m_lastRaw; }
    // Drops the rest of the current line, to pick up again after a record that cannot be used.
    void skipToNextLine();

private:
    QByteArrayView readRawField();
    void consumeSeparator();

    // Shared with the caller's copy: read it only through const access (at(), constData()), as
    // a non-const operator[] would detach a copy of the whole file for every reader made.
    QByteArray m_data;
    qsizetype m_pos = 0;
    qsizetype m_lastStart = 0;
    QByteArrayView m_lastRaw; // into m_data
    bool m_atLineStart = true;
    bool m_hitEnd = false;
    bool m_lastBad = false;
    bool m_unclosedQuote = false;
};

} // namespace quirlanto
