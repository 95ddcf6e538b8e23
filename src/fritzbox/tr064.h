#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

// The router's side of TR-064 as far as the dialing help needs it: where to send, what to send,
// and how to read the answer. No network here.
namespace quirlanto::tr064 {

inline constexpr int kDefaultPort = 49000;
inline constexpr char kVoipService[] = "urn:dslforum-org:service:X_VoIP:1";
inline constexpr char kDefaultControlPath[] = "/upnp/control/x_voip";

// "Host" of the settings: a name or an address, ":port" optional, an IPv6 address in brackets
// when a port follows.
struct BoxAddress {
    QUrl base;       // http://host:port, no path
    QString problem; // German; empty when the text is usable
};
BoxAddress parseBoxAddress(const QString &host);

// The X_VoIP service's controlURL from /tr64desc.xml; empty when the router does not offer it.
QString voipControlPath(const QByteArray &description);

using Arguments = QList<QPair<QString, QString>>;
QByteArray envelope(const QString &action, const Arguments &arguments);
QByteArray soapAction(const QString &action);

struct Answer {
    bool valid = false; // a SOAP envelope at all
    bool fault = false;
    int errorCode = 0; // UPnP errorCode of a fault
    QString errorDescription;
    QHash<QString, QString> values; // the response's out arguments by name
};
Answer parseAnswer(const QByteArray &body);

} // namespace quirlanto::tr064
