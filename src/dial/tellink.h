#pragma once

#include "options/settings.h"

#include <QString>

namespace quirlanto {

// A "tel:" link as browsers and other programs hand it over (RFC 3966).
struct TelLink {
    enum class Status { Ok, NotTelLink, NoNumber, Undialable };
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

// The number in international form, as the clipboard dial takes the same text (a local
// number goes through normalizeClipboardNumber); the extension is dialed right after it.
// Empty unless the link is Ok.
QString telLinkInternationalNumber(const TelLink &link, const Settings &settings);

} // namespace quirlanto
