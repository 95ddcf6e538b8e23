#pragma once

#include <QString>

namespace quirlanto {

// A "tel:" link as browsers and other programs hand it over (RFC 3966).
struct TelLink {
    // TooLong: more digits than any number has (kMaxNumberLength), so not every digit could be shown.
    // LocalToDomain: a local number within a domain's own phone system ("phone-context=example.com").
    enum class Status { Ok, NotTelLink, NoNumber, Undialable, TooLong, LocalToDomain };
    Status status = Status::NotTelLink;
    bool global = false; // written with "+": already international
    QString numberText;  // the number as written, percent-decoded, separators kept
    QString extension;   // digits of ";ext=", empty without one
    // A local number's "phone-context" when it is a global number prefix: its digits, and the
    // first group of them as written ("+1-914-555": "1"), the country whose prefixes apply.
    QString contextPrefix;
    QString contextCountryCode;
    QString contextDomain; // for LocalToDomain
};

// True when the argument starts with the scheme "tel:" (any case).
bool isTelLink(const QString &argument);

// Percent-encoding and blanks (which some browsers leave in) are accepted. "*", "#" and the
// letters A-F cannot be dialed here, so such numbers are Undialable rather than dialed with
// those characters silently dropped.
TelLink parseTelLink(const QString &uri);

// Why a link is refused as TooLong; also when it is too long to hand to the running copy.
QString telLinkTooLongMessage();

// Why a link of a domain's own phone system is refused.
QString telLinkLocalToDomainMessage(const TelLink &link);

} // namespace quirlanto
