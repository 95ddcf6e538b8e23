// Whatever a process of the same user sends to the local socket: the reader must not crash or
// reserve memory the bytes do not justify, and a request it takes must travel unchanged.
#include "support/startrequest.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace quirlanto;
    const QByteArrayView received(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const bool ended : {false, true}) {
        const StartRequest request = decodeStartRequest(received, ended);
        if (ended && request.status == StartRequest::Status::Incomplete)
            std::abort(); // nothing more comes: the connection must end
        if (request.status != StartRequest::Status::Complete)
            continue;
        const QByteArray again = encodeStartRequest(request.arguments);
        const StartRequest back = decodeStartRequest(again, true);
        if (back.status != StartRequest::Status::Complete || back.arguments != request.arguments)
            std::abort();
    }
    return 0;
}
