// Any bytes must parse without a crash. What was read must write a text that reads back with
// as many contacts, and after that one round the written text must stay as it is; numbers are
// left out of that comparison, as they are written as they are and read with escapes resolved.
#include "register/vcardcodec.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace quirlanto;

namespace {

QByteArray withoutNumbers(QList<VCardContact> contacts)
{
    for (VCardContact &contact : contacts)
        contact.phones.clear();
    return vCardBytes(contacts);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const VCardReadResult first = parseVCards(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (first.contacts.isEmpty())
        return 0;
    const VCardReadResult second = parseVCards(vCardBytes(first.contacts));
    if (!second.error.isEmpty() || second.contacts.size() != first.contacts.size()) {
        std::fprintf(stderr, "written text does not read back: %s\n", qPrintable(second.error));
        std::abort();
    }
    const QByteArray again = withoutNumbers(second.contacts);
    if (withoutNumbers(parseVCards(vCardBytes(second.contacts)).contacts) != again) {
        std::fprintf(stderr, "written text changes on every round:\n%s\n", again.constData());
        std::abort();
    }
    return 0;
}
