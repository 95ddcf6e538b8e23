#include "providers/providerfile.h"

#include "support/fieldreader.h"
#include "support/safefilereader.h"
#include "support/safefilewriter.h"
#include "support/textlimits.h"
#include "support/windows1252.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>

namespace quirlanto {

namespace {

// The format has no escape for '"', so it travels as an apostrophe.
QByteArray quotedField(const QString &text)
{
    QByteArray bytes = toWindows1252(text);
    bytes.replace('"', '\'');
    return '"' + bytes + '"';
}

char flag(bool on)
{
    return on ? '1' : '0';
}

qsizetype startOfNextLine(const QByteArray &data, qsizetype from)
{
    qsizetype i = from;
    while (i < data.size() && data[i] != '\r' && data[i] != '\n')
        ++i;
    if (i < data.size() && data[i] == '\r')
        ++i;
    if (i < data.size() && data[i] == '\n')
        ++i;
    return i;
}

// 1-based line numbers of increasing offsets, counted once over the data.
class LineCounter {
public:
    explicit LineCounter(const QByteArray &data)
        : m_data(data)
    {}
    int lineAt(qsizetype offset)
    {
        for (; m_pos < offset && m_pos < m_data.size(); ++m_pos) {
            const char c = m_data[m_pos];
            if (c == '\n' || (c == '\r' && (m_pos + 1 >= m_data.size() || m_data[m_pos + 1] != '\n')))
                ++m_line;
        }
        return m_line;
    }

private:
    const QByteArray &m_data;
    qsizetype m_pos = 0;
    int m_line = 1;
};

QString lineList(const QList<int> &lines)
{
    constexpr int kShown = 10;
    QStringList parts;
    for (int i = 0; i < lines.size() && i < kShown; ++i)
        parts << QString::number(lines.at(i));
    QString text = parts.join(QStringLiteral(", "));
    if (lines.size() > kShown)
        text += QStringLiteral(", …");
    return text;
}

} // namespace

QByteArray providerBytes(const ProviderTable &table)
{
    QByteArray out;
    out.reserve(3 + qsizetype(table.rowCount()) * 48);
    out += table.providersEnabled ? "1\r\n" : "0\r\n";
    for (const ProviderEntry &e : table.rows()) {
        const bool weekdays = e.dayClass == DayClass::Weekdays || e.dayClass == DayClass::Always;
        const bool weekend = e.dayClass == DayClass::Weekend || e.dayClass == DayClass::Always;
        out += quotedField(e.name);
        out += ',';
        out += quotedField(e.networkPrefix);
        out += ',';
        out += flag(weekdays);
        out += ',';
        out += flag(weekend);
        out += ',';
        out += QByteArray::number(e.fromHour);
        out += ',';
        out += QByteArray::number(e.toHour);
        out += ',';
        out += flag(e.local);
        out += ',';
        out += flag(e.longDistance);
        out += ',';
        out += flag(e.abroad);
        out += "\r\n";
    }
    return out;
}

LoadProviderResult readProviders(const QByteArray &data, ProviderTable &table)
{
    LoadProviderResult result;
    table.clear();
    table.providersEnabled = false;

    FieldReader reader(data);
    if (reader.atEnd())
        return result; // an empty file is an empty, switched-off list

    QStringList problems;
    const double enabled = reader.readNumber();
    if (reader.lastNumberWasBad() && data[reader.lastFieldStart()] == '"') {
        // The file starts with a row: the switch line is missing.
        problems << QStringLiteral("Die erste Zeile mit dem Schalter der Provider-Liste fehlt; die Liste ist "
                                   "ausgeschaltet.");
        reader = FieldReader(data);
    } else {
        table.providersEnabled = enabled != 0;
        if (reader.lastNumberWasBad()) {
            problems << QStringLiteral(
                            "Die erste Zeile („%1“) ist keine gültige Zahl; die Provider-Liste ist daher %2.")
                            .arg(fromWindows1252(reader.lastRawField()), table.providersEnabled
                                                                             ? QStringLiteral("eingeschaltet")
                                                                             : QStringLiteral("ausgeschaltet"));
            reader.skipToNextLine();
        }
    }

    LineCounter lines(data);
    QList<int> badLines;
    int truncatedLine = 0;
    bool cut = false;
    while (!reader.atEnd()) {
        if (table.rowCount() >= ProviderTable::kMaxRows) {
            cut = true;
            break;
        }
        // An unquoted field may hold '"'; keep what the file will hold, or the rows sort
        // differently once saved and read again.
        const QString name = reader.readText().replace(u'"', u'\'');
        const qsizetype recordStart = reader.lastFieldStart();
        const QString prefix = reader.readText().replace(u'"', u'\'');
        qint16 v[7];
        bool bad = QStringView(name).trimmed().size() > kMaxNameLength
                   || QStringView(prefix).trimmed().size() > kMaxNumberLength;
        for (qint16 &value : v) {
            value = reader.readInt16();
            bad = bad || reader.lastNumberWasBad();
        }
        bad = bad || v[2] < 0 || v[2] > 24 || v[3] < 0 || v[3] > 24; // hours
        if (reader.hadUnclosedQuote() || (bad && !reader.hitEnd())) {
            // Pick up again at the next line: the rows the program wrote each stand on one line.
            badLines << lines.lineAt(recordStart);
            reader = FieldReader(data, startOfNextLine(data, recordStart));
            continue;
        }
        if (reader.hitEnd()) {
            truncatedLine = lines.lineAt(recordStart);
            break;
        }
        table.appendUnsorted(ProviderTable::makeEntry(name, prefix, v[0], v[1], v[2], v[3], v[4], v[5], v[6]));
    }
    table.sortRows();

    if (badLines.size() == 1) {
        problems << QStringLiteral("Der Eintrag in Zeile %1 enthält ungültige Angaben und wurde übersprungen.")
                        .arg(badLines.first());
    } else if (badLines.size() > 1) {
        problems << QStringLiteral("%1 Einträge enthalten ungültige Angaben und wurden übersprungen (Zeilen %2).")
                        .arg(badLines.size())
                        .arg(lineList(badLines));
    }
    if (truncatedLine > 0) {
        problems << QStringLiteral("Die Datei endet mitten im Eintrag ab Zeile %1; dieser unvollständige Eintrag "
                                   "wurde nicht übernommen.")
                        .arg(truncatedLine);
    }
    if (cut) {
        problems << QStringLiteral("Die Datei enthält mehr als %1 Einträge; nur die ersten %1 wurden übernommen.")
                        .arg(ProviderTable::kMaxRows);
    }
    result.problem = problems.join(QLatin1Char('\n'));
    return result;
}

LoadProviderResult loadProviderFile(const QString &path, ProviderTable &table)
{
    table.clear();
    table.providersEnabled = false;
    table.fileUnreadable = false;
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0 && errno == ENOENT)
        return {}; // nothing saved yet: an empty list, no message
    const DataFileRead file = readDataFile(path);
    if (!file.ok) {
        // Whatever stands there is the user's; an empty list saved over it would destroy it.
        table.fileUnreadable = true;
        LoadProviderResult result;
        result.ok = false;
        result.problem = file.error;
        return result;
    }

    LoadProviderResult result = readProviders(file.bytes, table);
    if (!result.problem.isEmpty())
        result.preservedCopy = preserveDamagedCopy(path, file.bytes, file.permissions, &result.copyError);
    return result;
}

WriteResult saveProviderFile(const ProviderTable &table, const QString &path, const QString &backupPath)
{
    if (table.fileUnreadable) {
        return WriteResult{false, QStringLiteral("Die Provider-Liste wird nicht gespeichert: Die Datei „%1“ konnte "
                                                 "beim Start nicht gelesen werden und wird nicht überschrieben, "
                                                 "solange Quirlanto sie nicht gelesen hat.\n\nBitte prüfen Sie "
                                                 "die Datei und starten Sie Quirlanto dann neu.")
                                      .arg(QDir::toNativeSeparators(path))};
    }
    return writeFileWithBackup(path, backupPath, providerBytes(table));
}

} // namespace quirlanto
