// Feeds arbitrary bytes to the provider file reader. Beyond not crashing, what it loads must
// stay within the table's limit and write back to bytes that read back to themselves.
#include "providers/providerfile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace quirlanto;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    ProviderTable table;
    const LoadProviderResult first = readProviders(bytes, table);
    if (!first.ok || table.rowCount() > ProviderTable::kMaxRows)
        std::abort();

    const QByteArray written = providerBytes(table);
    ProviderTable again;
    const LoadProviderResult second = readProviders(written, again);
    if (!second.problem.isEmpty() || providerBytes(again) != written) {
        std::fprintf(stderr, "written file does not read back: %s\n", qPrintable(second.problem));
        std::abort();
    }
    return 0;
}
