#pragma once

#include <QString>
#include <QByteArray>
#include <optional>

namespace quirlanto {

// Reads the comma/line-end separated field stream of both data files (Windows-1252 text).
// Commas and line ends (CR, LF, CR LF) separate fields; blanks before a field are skipped;
// a field starting with '"' runs to the next '"' and anything up to the next separator is dropped.
class FieldReader {
public:
    explicit FieldReader(QByteArray data, qsizetype startOffset = 0);

    // True when nothing but line ends and blanks remain (a final line end counts as the end).
    bool atEnd() const;
    // True when the last read ran past the end of the data (the field was missing).
    bool hitEnd() const { return m_hitEnd; }
    // True when a number field could not be read as a number (it reads as 0).
    bool hadBadNumber() const { return m_badNumber; }

    QString readText();
    // Decimal with "." as the point; empty reads 0; leading number part only ("8x" reads 8).
    double readNumber();
    // readNumber rounded half to even and clamped to 16 bits; out-of-range sets hadBadNumber.
    qint16 readInt16();

    qsizetype offset() const { return m_pos; }

private:
    QByteArray readRawField(bool *quoted);

    QByteArray m_data;
    qsizetype m_pos = 0;
    bool m_hitEnd = false;
    bool m_badNumber = false;
};

} // namespace quirlanto
