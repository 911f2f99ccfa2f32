// Fuzz target for the graphic command decoder, which reads bytes received
// from the network: any input must decode without reading past the offered
// count or the chunk buffer, and whatever was decoded must encode again.
#include "GrcBase.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Longer inputs still fill only the chunk buffer, but their size is
    // offered as the count, so the decoder's own limit is exercised too.
    const size_t n = size < GrcBase::ChunkSize ? size : GrcBase::ChunkSize;
    std::memset(GrcBase::m_BuffHead, 0, sizeof GrcBase::m_BuffHead);
    std::memcpy(GrcBase::m_BuffHead, data, n);
    const int count = size > 0x7fffffff ? 0x7fffffff : static_cast<int>(size);

    const int consumed = GrcBase::decodeList(count);
    if (consumed < 0 || consumed > static_cast<int>(n))
        std::abort();

    // Decoded values come from fixed-width fields, so every command fits a
    // chunk again and encoding must run to the end of the list.
    GrcBase* cursor = GrcBase::m_Start;
    while (cursor)
        if (GrcBase::encodeList(cursor) == 0)
            std::abort();
    GrcBase::clearList();
    return 0;
}
