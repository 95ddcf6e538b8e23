#include "fritzbox/tr064.h"

#include <QXmlStreamReader>

namespace quirlanto::tr064 {

namespace {

QString badAddress(const QString &host)
{
    return QStringLiteral(
               "„%1“ ist keine Adresse der FRITZ!Box. Geben Sie unter „Einrichten …“ einen Namen oder eine "
               "IP-Adresse an, bei Bedarf mit „:Port“ dahinter, z. B. „fritz.box“ oder „192.168.178.1:49000“.")
        .arg(host);
}

} // namespace

BoxAddress parseBoxAddress(const QString &host)
{
    QString text = host.trimmed();
    // Only host and port: a path, user or scheme would send the password elsewhere.
    for (QChar c : text) {
        if (c.isSpace() || c.category() == QChar::Other_Control || QStringView(u"/\\?#@%").contains(c))
            return {{}, badAddress(host)};
    }
    if (text.isEmpty())
        return {{}, badAddress(host)};
    // An IPv6 address without brackets has no port.
    if (text.count(u':') > 1 && !text.startsWith(u'['))
        text = u'[' + text + u']';
    QUrl url(QStringLiteral("http://") + text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() || !url.path().isEmpty()
        || (text.contains(u':') && !text.startsWith(u'[') && url.port() < 1)
        || (text.startsWith(u'[') && text.contains(QLatin1String("]:")) && url.port() < 1))
        return {{}, badAddress(host)};
    if (url.port() == 0)
        return {{}, badAddress(host)};
    if (url.port() < 0)
        url.setPort(kDefaultPort);
    return {url, {}};
}

QString voipControlPath(const QByteArray &description)
{
    QXmlStreamReader xml(description);
    QString type;
    QString control;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QStringView name = xml.name();
            if (name == u"service") {
                type.clear();
                control.clear();
            } else if (name == u"serviceType") {
                type = xml.readElementText().trimmed();
            } else if (name == u"controlURL") {
                control = xml.readElementText().trimmed();
            }
        } else if (xml.isEndElement() && xml.name() == u"service" && type == QLatin1String(kVoipService)) {
            return control.isEmpty() ? QString::fromLatin1(kDefaultControlPath) : control;
        }
    }
    return {};
}

QByteArray soapAction(const QString &action)
{
    return '"' + QByteArray(kVoipService) + '#' + action.toUtf8() + '"';
}

QByteArray envelope(const QString &action, const Arguments &arguments)
{
    const QByteArray name = action.toUtf8();
    QByteArray body = R"(<?xml version="1.0" encoding="utf-8"?>)"
                      R"(<s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/" )"
                      R"(s:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/"><s:Body><u:)"
                      + name + R"( xmlns:u=")" + kVoipService + R"(">)";
    for (const auto &[argument, value] : arguments) {
        const QByteArray tag = argument.toUtf8();
        body += '<' + tag + '>' + value.toHtmlEscaped().toUtf8() + "</" + tag + '>';
    }
    return body + "</u:" + name + "></s:Body></s:Envelope>";
}

Answer parseAnswer(const QByteArray &body)
{
    Answer answer;
    QXmlStreamReader xml(body);
    int depth = 0;
    int bodyDepth = -1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            const QStringView name = xml.name();
            if (depth == 1 && name == u"Envelope") {
                answer.valid = true;
            } else if (depth == 2 && name == u"Body") {
                bodyDepth = depth;
            } else if (bodyDepth > 0 && depth == bodyDepth + 1 && name == u"Fault") {
                answer.fault = true;
            } else if (answer.fault && name == u"errorCode") {
                answer.errorCode = xml.readElementText().trimmed().toInt();
                --depth;
            } else if (answer.fault && name == u"errorDescription") {
                answer.errorDescription = xml.readElementText().trimmed();
                --depth;
            } else if (!answer.fault && bodyDepth > 0 && depth == bodyDepth + 2) {
                answer.values.insert(name.toString(), xml.readElementText(QXmlStreamReader::IncludeChildElements));
                --depth;
            }
        } else if (xml.isEndElement()) {
            --depth;
        }
    }
    if (xml.hasError() && !answer.fault && answer.values.isEmpty())
        answer.valid = false;
    return answer;
}

} // namespace quirlanto::tr064
