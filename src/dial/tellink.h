#pragma once

#include "options/settings.h"

#include <QString>

namespace quirlanto {

// A "tel:" link as browsers and other programs hand it over (RFC 3966).
struct TelLink {
    // TooLong: more digits than any number has (kMaxNumberLength), so not every digit could be shown.
    enum class Status { Ok, NotTelLink, NoNumber, Undialable, TooLong };
    Status status = Status::NotTelLink;
    bool global = false; // written with "+": already international
    QString numberText;  // the number as written, percent-decoded, separators kept
    QString extension;   // digits of ";ext=", empty without one
};

// True when the argument starts with the scheme "tel:" (any case).
bool isTelLink(const QString &argument);

// Percent-encoding and blanks (which some browsers leave in) are accepted. "*", "#" and the
// letters A-F cannot be dialed here, so such numbers are Undialable rather than dialed with
// those characters silently dropped.
TelLink parseTelLink(const QString &uri);

// Why a link is refused as TooLong; also when it is too long to hand to the running copy.
QString telLinkTooLongMessage();

// The number in international form, as the clipboard dial takes the same text (a local
// number goes through normalizeClipboardNumber); the extension is dialed right after it.
// Empty unless the link is Ok.
QString telLinkInternationalNumber(const TelLink &link, const Settings &settings);

} // namespace quirlanto
