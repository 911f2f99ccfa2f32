// Fuzz target for the graphic command decoder, which reads bytes received
// from the network: any input must decode without reading past the offered
// count or the chunk buffer, whatever was decoded must encode again, and the
// encoding must decode to the same list.
#include "GrcBase.h"

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Each chunk as its length in a fixed field, then its bytes.
const size_t kLength = 8;

std::string encodeAll()
{
    std::string all;
    GrcBase* cursor = GrcBase::m_Start;
    while (cursor) {
        int n = GrcBase::encodeList(cursor);
        if (n == 0)
            std::abort();
        char field[kLength + 1];
        std::snprintf(field, sizeof field, "%07d", n);
        all.append(field, kLength);
        all.append(GrcBase::m_BuffHead, n);
    }
    return all;
}

}

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
    // chunk again and encoding must run to the end of the list; decoding the
    // encoding again must give the same list.
    std::string first = encodeAll();
    GrcBase::clearList();
    for (size_t at = 0; at < first.size();) {
        int chunk = std::atoi(first.c_str() + at);
        std::memcpy(GrcBase::m_BuffHead, first.data() + at + kLength, chunk);
        if (GrcBase::decodeList(chunk) != chunk)
            std::abort();
        at += kLength + chunk;
    }
    if (encodeAll() != first)
        std::abort();
    GrcBase::clearList();
    return 0;
}
