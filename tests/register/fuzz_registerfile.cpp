// Any bytes after the header line must read without a crash, and whatever was read must
// write a file that reads back cleanly to the same bytes.
#include "register/registerformat.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace quirlanto;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const ReadRegisterResult first = readRegister(input, 0);
    const QByteArray written = registerBytes(first.contents);

    const qsizetype afterHeader = qsizetype(qstrlen(kRegisterHeader)) + 2;
    const ReadRegisterResult again = readRegister(written, afterHeader);
    if (!again.problem.isEmpty() || registerBytes(again.contents) != written) {
        std::fprintf(stderr, "written file does not read back: %s\n", qPrintable(again.problem));
        std::abort();
    }
    return 0;
}
