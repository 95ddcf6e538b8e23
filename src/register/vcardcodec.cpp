#include "register/vcardcodec.h"

#include "support/safefilereader.h"
#include "support/windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>

namespace quirlanto {

namespace {

const QString kNotVCard = QStringLiteral("Die Datei enthält keine Kontakte im vCard-Format.");
const QByteArray kZeroMarker = QByteArrayLiteral("X-QUIRLANTO-TRUNK-ZERO");

struct Property {
    QByteArray name; // upper case, without group
    QStringList types;
    QByteArray encoding, charset, valueType; // upper case
    QByteArray countryCode;                  // CC of an address
    QByteArray value;
};

// The position of `c` outside double quotes, -1 when none.
qsizetype indexOutsideQuotes(QByteArrayView text, char c, qsizetype from = 0)
{
    bool quoted = false;
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == c && !quoted)
            return i;
    }
    return -1;
}

QList<QByteArray> splitOutsideQuotes(QByteArrayView text, char c)
{
    QList<QByteArray> parts;
    qsizetype start = 0;
    for (qsizetype at; (at = indexOutsideQuotes(text, c, start)) >= 0; start = at + 1)
        parts.append(text.sliced(start, at - start).toByteArray());
    parts.append(text.sliced(start).toByteArray());
    return parts;
}

QByteArray unquoted(QByteArray text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"'))
        text = text.sliced(1, text.size() - 2);
    return text;
}

// The name and parameters before a value's colon; none when there are none.
std::optional<Property> parseHead(QByteArrayView text)
{
    if (text.isEmpty())
        return std::nullopt;
    Property property;
    const QList<QByteArray> head = splitOutsideQuotes(text, ';');
    property.name = head[0].trimmed().toUpper();
    if (const qsizetype dot = property.name.lastIndexOf('.'); dot >= 0)
        property.name = property.name.sliced(dot + 1);
    for (qsizetype i = 1; i < head.size(); ++i) {
        const QByteArray &parameter = head[i];
        const qsizetype equals = parameter.indexOf('=');
        const QByteArray key = equals < 0 ? QByteArray() : parameter.first(equals).trimmed().toUpper();
        const QByteArray value = unquoted(equals < 0 ? parameter : parameter.sliced(equals + 1));
        if (key == "ENCODING"
            || (key.isEmpty() && (value.toUpper() == "QUOTED-PRINTABLE" || value.toUpper() == "BASE64")))
            property.encoding = value.toUpper();
        else if (key == "CHARSET")
            property.charset = value.toUpper();
        else if (key == "VALUE")
            property.valueType = value.toUpper();
        else if (key == "CC")
            property.countryCode = value.trimmed();
        else if (key == "TYPE" || key.isEmpty())
            for (const QByteArray &type : splitOutsideQuotes(value, ','))
                property.types.append(QString::fromLatin1(unquoted(type)).toLower());
    }
    return property;
}

// The properties of the text, each from its logical line: folded lines joined, and
// quoted-printable values continued after a line ending in "=" (a type merely holding the word
// does not continue). Each byte is looked at a fixed number of times, however many lines a head
// or value is spread over; a line without a head is skipped.
template <typename Take>
void forEachProperty(QByteArrayView data, Take take)
{
    QByteArray line;
    // How far the current line was searched for the colon that ends its head, and its head.
    qsizetype searched = 0;
    bool quoted = false, headEnded = false;
    std::optional<Property> head;
    const auto startLine = [&](QByteArrayView first) {
        if (head) {
            head->value = line.sliced(searched);
            take(*head);
        }
        line = first.toByteArray();
        searched = 0;
        quoted = headEnded = false;
        head.reset();
    };
    bool softBreak = false;
    for (qsizetype start = 0; start < data.size();) {
        qsizetype end = data.indexOf('\n', start);
        if (end < 0)
            end = data.size();
        QByteArrayView physical = data.sliced(start, end - start);
        start = end + 1;
        if (physical.endsWith('\r'))
            physical.chop(1);
        if (softBreak && !line.isEmpty()) {
            line.chop(1);
            line.append(physical);
        } else if (!physical.isEmpty() && (physical[0] == ' ' || physical[0] == '\t') && !line.isEmpty()) {
            line.append(physical.sliced(1));
        } else if (!physical.trimmed().isEmpty()) {
            startLine(physical);
        } else {
            continue;
        }
        for (; !headEnded && searched < line.size(); ++searched) {
            if (line[searched] == '"') {
                quoted = !quoted;
            } else if (line[searched] == ':' && !quoted) {
                headEnded = true;
                head = parseHead(line.first(searched));
            }
        }
        softBreak = head && head->encoding == "QUOTED-PRINTABLE" && line.endsWith('=');
    }
    startLine({});
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray decodeQuotedPrintable(QByteArrayView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size()) {
            const int high = hexValue(text[i + 1]), low = hexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                bytes.append(char(high * 16 + low));
                i += 2;
                continue;
            }
        }
        bytes.append(text[i]);
    }
    return bytes;
}

QString decodeText(const QByteArray &bytes, const QByteArray &charset)
{
    static const QByteArrayList kSingleByte = {"WINDOWS-1252", "CP1252", "ISO-8859-1", "ISO-8859-15", "LATIN1"};
    if (kSingleByte.contains(charset))
        return fromWindows1252(bytes);
    if (!charset.isEmpty() && charset != "UTF-8") {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    // Without a stated character set, what is no UTF-8 is most likely from a Windows program.
    return utf8.hasError() && charset.isEmpty() ? fromWindows1252(bytes) : text;
}

// A NUL in a value (an encoded one: a bare one makes the file binary) is garbage, and a written
// card holding it could not be read.
QString decodeValue(const QByteArray &bytes, const QByteArray &charset)
{
    return decodeText(bytes, charset).remove(QChar(0));
}

// Splits a structured value at unescaped `separator` and resolves the backslash escapes.
QStringList components(const QString &value, QChar separator = u';')
{
    QStringList parts(QString{});
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            parts.last().append(next == u'n' || next == u'N' ? QChar(u' ') : next);
        } else if (c == separator) {
            parts.append(QString());
        } else {
            parts.last().append(c);
        }
    }
    return parts;
}

QString telNumber(const QString &value)
{
    QString number = value.trimmed();
    if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) {
        number = number.mid(4);
        if (const qsizetype semicolon = number.indexOf(u';'); semicolon >= 0)
            number.truncate(semicolon); // ";ext=", ";phone-context="
        return QString::fromUtf8(QByteArray::fromPercentEncoding(number.toUtf8())).remove(QChar(0)).trimmed();
    }
    return components(number).join(u';').trimmed();
}

QByteArray escaped(const QString &text)
{
    QString out = text;
    out.replace(u'\\', QLatin1String("\\\\"))
        .replace(u',', QLatin1String("\\,"))
        .replace(u';', QLatin1String("\\;"))
        .replace(u'\n', QLatin1String("\\n"));
    return out.toUtf8();
}

// Lines longer than 75 bytes are folded, never inside a UTF-8 character.
void appendLine(QByteArray &out, const QByteArray &line)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < line.size();) {
        const uchar lead = uchar(line[i]);
        const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (count + length > 75) {
            out.append("\r\n ");
            count = 1;
        }
        out.append(line.sliced(i, qMin(length, line.size() - i)));
        count += length;
        i += length;
    }
    out.append("\r\n");
}

} // namespace

VCardReadResult parseVCards(QByteArrayView data)
{
    VCardReadResult result;
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    if (data.contains('\0')) {
        result.error = QStringLiteral("Die Datei enthält Binärdaten und ist keine vCard-Datei.");
        return result;
    }
    bool seenCard = false, inCard = false;
    VCardContact contact;
    forEachProperty(data, [&](const Property &property) {
        const auto valueIs = [&property](const char *word) {
            return property.value.trimmed().compare(word, Qt::CaseInsensitive) == 0;
        };
        if (property.name == "BEGIN" && valueIs("VCARD")) {
            // A card inside a card is no card a phone writes: the open one was cut off.
            result.damaged += inCard;
            contact = {};
            inCard = seenCard = true;
            return;
        }
        if (property.name == "END" && valueIs("VCARD")) {
            if (inCard)
                result.contacts.append(contact);
            inCard = false;
            return;
        }
        if (!inCard)
            return;
        const QByteArray bytes =
            property.encoding == "QUOTED-PRINTABLE" ? decodeQuotedPrintable(property.value) : property.value;
        if (property.name == "N") {
            const QStringList parts = components(decodeValue(bytes, property.charset));
            contact.family = parts.value(0);
            contact.given = parts.value(1);
        } else if (property.name == "FN") {
            contact.formattedName = components(decodeValue(bytes, property.charset)).join(u';');
        } else if (property.name == "ORG") {
            contact.organisation = components(decodeValue(bytes, property.charset)).value(0);
        } else if (property.name == "TEL") {
            const QString number = telNumber(decodeValue(bytes, property.charset));
            if (!number.isEmpty())
                contact.phones.append({number, property.types});
        } else if (property.name == "ADR") {
            const QString country = property.countryCode.isEmpty()
                                        ? components(decodeValue(bytes, property.charset)).value(6).trimmed()
                                        : QString::fromLatin1(property.countryCode);
            if (!country.isEmpty())
                contact.addresses.append({country, property.types});
        } else if (property.name == "CATEGORIES") {
            for (const QString &category : components(decodeValue(bytes, property.charset), u','))
                if (!category.trimmed().isEmpty())
                    contact.categories.append(category.trimmed());
        } else if (property.name == kZeroMarker) {
            contact.zeroFlag = !valueIs("0");
        }
    });
    result.damaged += inCard;
    if (!seenCard)
        result.error = kNotVCard;
    return result;
}

VCardReadResult readVCardFile(const QString &path)
{
    VCardReadResult result;
    const QFileInfo info(path);
    const QString shown = info.fileName();
    if (info.isFile() && info.size() > kMaxVCardFileSize) {
        result.error = QStringLiteral("Die Datei „%1“ ist größer als 10 MB und wird nicht eingelesen.").arg(shown);
        return result;
    }
    // A pipe, a device or a folder is refused with its reason, never read.
    const DataFileRead read = readDataFile(path);
    if (!read.ok && read.errorNumber != EFBIG) {
        result.error = QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2.").arg(shown, read.error);
        return result;
    }
    // The size may have changed since it was asked.
    if (!read.ok || read.bytes.size() > kMaxVCardFileSize) {
        result.error = QStringLiteral("Die Datei „%1“ ist größer als 10 MB und wird nicht eingelesen.").arg(shown);
        return result;
    }
    result = parseVCards(read.bytes);
    if (!result.error.isEmpty())
        result.error = QStringLiteral("Die Datei „%1“ kann nicht importiert werden.\n\n%2").arg(shown, result.error);
    return result;
}

QByteArray vCardBytes(const QList<VCardContact> &contacts)
{
    // Only types that are plain words: anything else would need quoting that readers handle
    // each in their own way.
    const auto typed = [](const char *name, const QStringList &types) {
        QByteArrayList words;
        for (const QString &type : types)
            if (!type.isEmpty() && std::all_of(type.begin(), type.end(), [](QChar c) {
                    return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-';
                }))
                words.append(type.toLatin1());
        return words.isEmpty() ? QByteArray(name) : QByteArray(name) + ";TYPE=" + words.join(',');
    };
    QByteArray out;
    for (const VCardContact &contact : contacts) {
        appendLine(out, "BEGIN:VCARD");
        appendLine(out, "VERSION:3.0");
        appendLine(out, "FN:" + escaped(contact.formattedName));
        if (!contact.family.isEmpty() || !contact.given.isEmpty())
            appendLine(out, "N:" + escaped(contact.family) + ';' + escaped(contact.given) + ";;;");
        if (!contact.organisation.isEmpty())
            appendLine(out, "ORG:" + escaped(contact.organisation));
        for (const VCardPhone &phone : contact.phones)
            appendLine(out, typed("TEL", phone.types) + ':'
                                + QString(phone.number).replace(u'\n', QLatin1String("\\n")).toUtf8());
        for (const VCardAddress &address : contact.addresses)
            appendLine(out, typed("ADR", address.types) + ":;;;;;;" + escaped(address.country));
        if (!contact.categories.isEmpty()) {
            QByteArrayList categories;
            for (const QString &category : contact.categories)
                categories.append(escaped(category));
            appendLine(out, "CATEGORIES:" + categories.join(','));
        }
        if (!contact.zeroFlag)
            appendLine(out, kZeroMarker + ":0");
        appendLine(out, "END:VCARD");
    }
    return out;
}

} // namespace quirlanto
