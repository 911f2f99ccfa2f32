// Both ends of the run worker's wire: the request the viewer builds, and
// the reader of the reply, which may arrive in any number of pieces.
#include "WorkerWire.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "GrcBase.h"

namespace {

const size_t kNumberBytes = 8;
// Texts longer than this are no reply of the worker's.
const int kTextMax = 1 << 20;

}

namespace WorkerWire {

std::string number(int value)
{
    char field[32];
    std::snprintf(field, sizeof field, "%07d", value);
    return std::string(field, kNumberBytes - 1) + '\0';
}

std::string text(const std::string& value)
{
    return number(static_cast<int>(value.size()) + 1) + value + '\0';
}

std::string request(int depth, const std::string& root, const std::string& path, const std::string& selector,
                    const std::string& directory)
{
    return number(depth) + text(root) + text(path) + text(selector) + text(directory);
}

}

bool ReplyReader::number(int& value)
{
    if (m_Bytes.size() - m_Used < kNumberBytes)
        return false;
    char field[kNumberBytes + 1];
    std::memcpy(field, m_Bytes.data() + m_Used, kNumberBytes);
    field[kNumberBytes] = '\0';
    value = std::atoi(field);
    m_Used += kNumberBytes;
    return true;
}

// A Text is taken whole or not at all; its NUL and anything after one end it.
bool ReplyReader::text(std::string& value)
{
    int n;
    size_t start = m_Used;
    if (!number(n))
        return false;
    if (n < 0 || n > kTextMax) {
        m_Stage = kBad;
        return false;
    }
    if (m_Bytes.size() - m_Used < static_cast<size_t>(n)) {
        m_Used = start;
        return false;
    }
    value.assign(m_Bytes.c_str() + m_Used, strnlen(m_Bytes.c_str() + m_Used, n));
    m_Used += n;
    return true;
}

bool ReplyReader::chunk()
{
    int n;
    size_t start = m_Used;
    if (!number(n))
        return false;
    if (n <= 0) {
        m_Stage = kDone;
        return true;
    }
    if (n > GrcBase::ChunkSize) {
        m_Stage = kBad;
        return false;
    }
    if (m_Bytes.size() - m_Used < static_cast<size_t>(n)) {
        m_Used = start;
        return false;
    }
    std::memcpy(GrcBase::m_BuffHead, m_Bytes.data() + m_Used, n);
    m_Used += n;
    GrcBase::decodeList(n);
    return true;
}

// Takes the next field; false while its bytes are missing.
bool ReplyReader::step()
{
    switch (m_Stage) {
    case kStatus: return number(m_Reply.status) && (m_Stage = kSignal, true);
    case kSignal: return number(m_Reply.signal) && (m_Stage = kResult, true);
    case kResult: return text(m_Reply.resultFile) && (m_Stage = kLine, true);
    case kLine: return number(m_Reply.errorLine) && (m_Stage = kPos, true);
    case kPos: return number(m_Reply.errorPos) && (m_Stage = kError, true);
    case kError: return text(m_Reply.errorText) && (m_Stage = kChunks, true);
    case kChunks: return chunk();
    default: return false;
    }
}

int ReplyReader::feed(const char* data, size_t count)
{
    m_Bytes.append(data, count);
    while (m_Stage != kDone && m_Stage != kBad && step()) {
    }
    // Decoded chunks are dropped, so a large picture is never held twice.
    if (m_Used > (1u << 16)) {
        m_Bytes.erase(0, m_Used);
        m_Used = 0;
    }
    if (m_Stage == kBad)
        return -1;
    return m_Stage == kDone ? 1 : 0;
}
