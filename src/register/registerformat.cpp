#include "register/registerformat.h"

#include "register/phoneentry.h"
#include "support/fieldreader.h"
#include "support/textfields.h"
#include "support/textlimits.h"
#include "support/windows1252.h"

#include <QStringList>

namespace quirlanto {

namespace {

constexpr int kMaxListedProblems = 10;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

void appendText(QString &line, QStringView text)
{
    line += QLatin1Char('"');
    const qsizetype start = line.size();
    line += text;
    for (qsizetype i = start; i < line.size(); ++i) {
        if (line[i] == QLatin1Char('"'))
            line[i] = QLatin1Char('\'');
    }
    line += QLatin1Char('"');
}

// Plain decimal with "." as the point, trailing zeros and a trailing point dropped.
QString formatSize(double size)
{
    QString text = QString::number(size, 'f', 6);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString shortField(QByteArrayView raw)
{
    QString text = fromWindows1252(raw);
    if (text.size() > 40)
        text = text.left(40) + QChar(0x2026);
    return text;
}

// Collects what could not be used, with line numbers, for one message.
class ProblemList {
public:
    explicit ProblemList(const QByteArray &data)
        : m_data(data)
    {}

    void add(qsizetype offset, const QString &what)
    {
        if (m_count++ < kMaxListedProblems)
            m_lines << QStringLiteral("Zeile %1: %2").arg(QString::number(lineAt(offset)), what);
    }
    void addGeneral(const QString &what)
    {
        if (m_count++ < kMaxListedProblems)
            m_lines << what;
    }

    QString text() const
    {
        QStringList lines = m_lines;
        if (m_count > kMaxListedProblems)
            lines << QStringLiteral("… und %1 weitere Stellen.").arg(m_count - kMaxListedProblems);
        return lines.join(QLatin1Char('\n'));
    }

private:
    qsizetype lineAt(qsizetype offset) const
    {
        return QByteArrayView(m_data.constData(), qMin(offset, m_data.size())).count('\n') + 1;
    }

    const QByteArray &m_data;
    QStringList m_lines;
    int m_count = 0;
};

} // namespace

QByteArray registerBytes(const RegisterContents &contents)
{
    const Settings &s = contents.settings;
    const QLatin1String lineEnd("\r\n");
    QString text;
    qsizetype entries = 0;
    for (const RegisterCard &card : contents.cards)
        entries += card.entries.size();
    text.reserve(200 + entries * 48);

    text += QLatin1String(kRegisterHeader);
    text += lineEnd;

    const int dialMethod = s.dialMethod == DialMethod::Pulse ? 1 : 0;
    text += QStringLiteral("%1,%2,%3,%4,").arg(int(s.dialDevice)).arg(s.comPort).arg(dialMethod).arg(s.reservedValue);
    appendText(text, s.outsideLinePrefix);
    text += QStringLiteral(",%1,").arg(s.reservedValue);
    appendText(text, s.internationalPrefix);
    text += QLatin1Char(',');
    appendText(text, s.ownCountryCode);
    text += QLatin1Char(',');
    appendText(text, s.ownAreaCode);
    text += QLatin1Char(',') + formatSize(s.entryFontSize) + QLatin1Char(',');
    appendText(text, s.extraModemCommands);
    text += QLatin1Char(',');
    appendText(text, s.handoverNumber);
    text += QLatin1String(s.handoverEnabled ? ",1" : ",0") + lineEnd;

    for (int card = 0; card < kCardCount; ++card) {
        if (card > 0)
            text += QLatin1Char(',');
        appendText(text, contents.cards[card].cardName);
    }
    text += lineEnd;

    for (int card = 0; card < kCardCount; ++card) {
        const QString cardNumber = QString::number(card + 1);
        for (const PhoneEntry &entry : contents.cards[card].entries) {
            text += cardNumber;
            text += QLatin1Char(',');
            appendText(text, trimBlanks(entry.name));
            text += QLatin1Char(',');
            appendText(text, trimBlanks(entry.number));
            text += QLatin1Char(',');
            text += entry.zeroFlag ? QLatin1Char('1') : QLatin1Char('0');
            text += lineEnd;
        }
    }
    return toWindows1252(text);
}

ReadRegisterResult readRegister(const QByteArray &data, qsizetype offset)
{
    ReadRegisterResult result;
    Settings &s = result.contents.settings;
    RegisterCards &cards = result.contents.cards;
    FieldReader reader(data, offset);
    ProblemList problems(data);
    bool quoteReported = false;

    const auto checkQuote = [&] {
        if (reader.hadUnclosedQuote() && !quoteReported) {
            quoteReported = true;
            problems.add(reader.lastFieldStart(),
                         QStringLiteral("Ein Text in Anführungszeichen wird nicht geschlossen; "
                                        "der Rest der Datei wurde als ein Text gelesen."));
        }
    };
    // A value only replaces the default when it was there to read.
    const auto readInt = [&](auto &target) {
        const qint16 value = reader.readInt16();
        if (reader.hitEnd())
            return;
        if (reader.lastNumberWasBad()) {
            problems.add(
                reader.lastFieldStart(),
                QStringLiteral("„%1“ ist als Einstellung keine gültige Zahl.").arg(shortField(reader.lastRawField())));
        }
        target = value;
    };
    const auto readText = [&](QString &target, qsizetype maxLength) {
        const QByteArrayView value = reader.readTextBytes();
        checkQuote();
        if (reader.hitEnd())
            return;
        if (value.size() > maxLength) {
            problems.add(reader.lastFieldStart(),
                         QStringLiteral("„%1“ ist mit %2 Zeichen zu lang (höchstens %3); es gilt der Grundwert.")
                             .arg(shortField(value), QString::number(value.size()), QString::number(maxLength)));
            return;
        }
        target = fromWindows1252(value);
    };

    int dialDevice = int(s.dialDevice);
    int comPort = s.comPort;
    int dialMethod = -1;
    int fontSize = int(s.entryFontSize);
    int handoverEnabled = -1;
    readInt(dialDevice);
    readInt(comPort);
    readInt(dialMethod);
    readInt(s.reservedValue);
    readText(s.outsideLinePrefix, kMaxNumberLength);
    readInt(s.reservedValue);
    readText(s.internationalPrefix, kMaxNumberLength);
    readText(s.ownCountryCode, kMaxNumberLength);
    readText(s.ownAreaCode, kMaxNumberLength);
    readInt(fontSize);
    readText(s.extraModemCommands, kMaxNumberLength);
    readText(s.handoverNumber, kMaxNumberLength);
    readInt(handoverEnabled);
    const bool settingsComplete = !reader.hitEnd();

    // Values the program cannot use take their defaults; the options page shows the result.
    const Settings defaults;
    s.dialDevice = dialDevice == int(DialDevice::Loudspeaker) ? DialDevice::Loudspeaker
                   : dialDevice == int(DialDevice::Modem)     ? DialDevice::Modem
                                                              : defaults.dialDevice;
    s.comPort = (comPort >= kMinComPort && comPort <= kMaxComPort) ? comPort : defaults.comPort;
    s.dialMethod = dialMethod == 1 ? DialMethod::Pulse : dialMethod == 0 ? DialMethod::Tone : defaults.dialMethod;
    s.handoverEnabled =
        (handoverEnabled == 0 || handoverEnabled == 1) ? handoverEnabled == 1 : defaults.handoverEnabled;
    s.entryFontSize = qBound(kMinEntryFontSize, fontSize, kMaxEntryFontSize);

    for (RegisterCard &card : cards)
        readText(card.cardName, kMaxNameLength);
    if (reader.hitEnd()) {
        problems.addGeneral(settingsComplete
                                ? QStringLiteral("Die Datei endet vor den Kartennamen; es gelten die Grundwerte.")
                                : QStringLiteral("Die Datei endet vor dem Ende der Einstellungen; "
                                                 "für die fehlenden Werte gelten die Grundwerte."));
    }

    while (!reader.atEnd()) {
        const qint16 cardNumber = reader.readInt16();
        const qsizetype recordStart = reader.lastFieldStart();
        if (reader.lastNumberWasBad()) {
            problems.add(recordStart,
                         QStringLiteral("„%1“ ist keine gültige Kartennummer; die Zeile wurde übersprungen.")
                             .arg(shortField(reader.lastRawField())));
            reader.skipToNextLine();
            continue;
        }
        if (cardNumber == 0) {
            // The end mark; whatever follows it would be lost silently at the next save.
            reader.skipToNextLine();
            if (!reader.atEnd()) {
                problems.add(recordStart, QStringLiteral("Nach der Kartennummer 0, die die Liste beendet, folgen "
                                                         "weitere Zeilen; sie wurden nicht gelesen."));
            }
            break;
        }

        const QByteArrayView name = reader.readTextBytes();
        checkQuote();
        if (reader.hitEnd()) {
            problems.add(recordStart, QStringLiteral("Die Datei endet mitten in einem Eintrag."));
            break;
        }
        const QByteArrayView number = reader.readTextBytes();
        checkQuote();
        const bool numberMissing = reader.hitEnd();
        int flag = 0;
        if (!numberMissing) {
            flag = reader.readInt16() & 1;
            if (reader.hitEnd())
                flag = 0;
            else if (reader.lastNumberWasBad())
                problems.add(
                    reader.lastFieldStart(),
                    QStringLiteral("„%1“ ist keine gültige Angabe für die vorangestellte Null; sie gilt als %2.")
                        .arg(shortField(reader.lastRawField()), QString::number(flag)));
        }
        const bool incomplete = reader.hitEnd();

        if (cardNumber < 1 || cardNumber > kCardCount) {
            problems.add(recordStart,
                         QStringLiteral("Die Kartennummer %1 gibt es nicht; der Eintrag „%2“ wurde übersprungen.")
                             .arg(QString::number(cardNumber), trimBlanks(fromWindows1252(name)).toString()));
            continue;
        }
        if (trimBlanks(name).size() > kMaxNameLength || trimBlanks(number).size() > kMaxNumberLength) {
            problems.add(recordStart, QStringLiteral("Der Eintrag „%1“ ist zu lang (Name höchstens %2, Nummer "
                                                     "höchstens %3 Zeichen); er wurde übersprungen.")
                                          .arg(shortField(trimBlanks(name)), QString::number(kMaxNameLength),
                                               QString::number(kMaxNumberLength)));
            if (incomplete)
                break;
            continue;
        }
        cards[cardNumber - 1].entries.append(phoneEntryFromFile(name, number, flag != 0));
        if (incomplete) {
            problems.add(recordStart,
                         QStringLiteral("Die Datei endet mitten im Eintrag „%1“; er wurde unvollständig übernommen.")
                             .arg(trimBlanks(fromWindows1252(name)).toString()));
            break;
        }
    }

    result.problem = problems.text();
    return result;
}

ReadRegisterResult readRegisterFile(const QByteArray &data)
{
    ReadRegisterResult result;
    if (FieldReader(data).atEnd()) {
        result.problem = QStringLiteral("Die Datei ist leer; es gelten die Grundwerte.");
        return result;
    }

    qsizetype lineEnd = 0;
    while (lineEnd < data.size() && data[lineEnd] != '\r' && data[lineEnd] != '\n')
        ++lineEnd;
    qsizetype begin = 0;
    qsizetype end = lineEnd;
    while (begin < end && isBlank(data[begin]))
        ++begin;
    while (end > begin && isBlank(data[end - 1]))
        --end;
    if (QByteArrayView(data.constData() + begin, end - begin) != QByteArrayView(kRegisterHeader)) {
        result.compatible = false;
        return result;
    }

    qsizetype offset = lineEnd;
    if (offset < data.size() && data[offset] == '\r')
        ++offset;
    if (offset < data.size() && data[offset] == '\n')
        ++offset;
    return readRegister(data, offset);
}

WriteResult writeRegister(const RegisterContents &contents, const DataPaths &paths)
{
    return writeFileWithBackup(paths.registerPath, paths.registerBackupPath, registerBytes(contents));
}

} // namespace quirlanto
