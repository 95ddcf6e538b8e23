// Any text a web page can put into a tel: link: parsing must not crash, a link it accepts gives
// only dial characters, and never more than the question shows.
#include "numbers/internationalform.h"
#include "numbers/tellink.h"
#include "support/textlimits.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace quirlanto;
    const QString uri = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const TelLink link = parseTelLink(uri);
    if ((link.status == TelLink::Status::NotTelLink) == isTelLink(uri))
        std::abort();

    Settings settings;
    settings.ownCountryCode = QStringLiteral("49");
    const QString number = internationalFromTelLink(link, settings);
    if (link.status != TelLink::Status::Ok) {
        if (!number.isEmpty())
            std::abort();
        return 0;
    }
    for (const QChar c : number) {
        if (!(c >= u'0' && c <= u'9')) {
            std::fprintf(stderr, "not a digit in %s\n", qPrintable(number));
            std::abort();
        }
    }
    if (number.size() > kMaxNumberLength + settings.ownCountryCode.size() + settings.ownAreaCode.size())
        std::abort();
    return 0;
}
