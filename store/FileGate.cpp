// File adapter: one input read byte by byte, one output appended to.
// Names longer than 255 characters are refused rather than cut, so that
// no other file than the one named is ever opened.
#include "FileGate.h"

#include "DecimalText.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace {
// The number of names the open file still has, or -1. Asking for the link
// count alone spares the file system the block and size accounting a full
// fstat does on a file being appended to, which cost more than the append
// itself (this runs before every report). Kernels or file systems that
// cannot answer that way get the full fstat.
long linkCount(int fd)
{
#ifdef STATX_NLINK
    struct statx info;
    if (statx(fd, "", AT_EMPTY_PATH, STATX_NLINK, &info) == 0 && (info.stx_mask & STATX_NLINK))
        return static_cast<long>(info.stx_nlink);
#endif
    struct stat open;
    return fstat(fd, &open) == 0 ? static_cast<long>(open.st_nlink) : -1;
}

// Records name in field; 0 (field empty) when it does not fit.
int keepName(char* field, const char* name)
{
    field[0] = '\0';
    if (!name)
        return 0;
    std::size_t n = std::strlen(name);
    if (n > FileGate::NameSize - 1)
        return 0;
    std::memcpy(field, name, n + 1);
    return 1;
}
}

FileGate::FileGate() : in(nullptr), out(nullptr), outLength(0), held(nullptr)
{
    outName[0] = '\0';
    inName[0] = '\0';
    heldName[0] = '\0';
}

FileGate::~FileGate()
{
    closeIn();
    closeOut();
}

int FileGate::openIn(const char* fileName)
{
    closeIn();
    if (!keepName(inName, fileName))
        return 0;
    in = std::fopen(inName, "r");
    if (!in) {
        inName[0] = '\0';
        return 0;
    }
    // Scripts are read byte by byte to the end: a larger stream buffer
    // saves most of the read calls. If it cannot be had, the default stays.
    std::setvbuf(in, nullptr, _IOFBF, InBufferSize);
    return 1;
}

int FileGate::openOut(const char* fileName)
{
    drain();
    if (out)
        std::fclose(out);
    out = nullptr;
    if (!keepName(outName, fileName)) {
        dropHeld();
        return 0;
    }
    if (reuseHeld())
        return 1;
    dropHeld();
    out = std::fopen(outName, "a+");
    if (!out) {
        outName[0] = '\0';
        return 0;
    }
    return 1;
}

// A memory stream keeps its last byte for the terminator, which it writes
// when closed; the buffer starts zeroed so that an output closed before
// any write is an empty text.
int FileGate::openOutText(char* buffer, std::size_t size)
{
    closeOut();
    if (!buffer || size < 2)
        return 0;
    std::memset(buffer, 0, size);
    out = fmemopen(buffer, size, "w");
    return out ? 1 : 0;
}

void FileGate::closeIn()
{
    if (in)
        std::fclose(in);
    in = nullptr;
    inName[0] = '\0';
}

void FileGate::closeOut()
{
    drain();
    if (out)
        std::fclose(out);
    out = nullptr;
    outName[0] = '\0';
    dropHeld();
}

void FileGate::holdOut()
{
    dropHeld();
    if (!out)
        return;
    drain();
    std::fflush(out);
    held = out;
    std::memcpy(heldName, outName, sizeof heldName);
    out = nullptr;
    outName[0] = '\0';
}

int FileGate::reuseHeld()
{
    if (!held || std::strcmp(heldName, outName) != 0)
        return 0;
    if (linkCount(fileno(held)) <= 0)
        return 0;
    out = held;
    held = nullptr;
    heldName[0] = '\0';
    return 1;
}

void FileGate::dropHeld()
{
    if (held)
        std::fclose(held);
    held = nullptr;
    heldName[0] = '\0';
}

int FileGate::deleteFile(const char* fileName) { return (fileName && std::remove(fileName) == 0) ? 1 : 0; }

// Writers run on one thread (the interpreter's), so the stream's own
// locking is skipped.
void FileGate::put(const char* text, std::size_t length)
{
    if (length > OutBufferSize - outLength) {
        drain();
        if (length > OutBufferSize) {
            fwrite_unlocked(text, 1, length, out);
            return;
        }
    }
    std::memcpy(outBuffer + outLength, text, length);
    outLength += length;
}

void FileGate::drain()
{
    if (out && outLength)
        fwrite_unlocked(outBuffer, 1, outLength, out);
    outLength = 0;
}

FileGate& FileGate::operator<<(const char* text)
{
    if (out && text)
        put(text, std::strlen(text));
    return *this;
}

FileGate& FileGate::operator<<(int value)
{
    if (out) {
        char digits[12];
        put(digits, static_cast<std::size_t>(decimalText(digits, value)));
    }
    return *this;
}

FileGate& FileGate::operator<<(double value)
{
    if (out) {
        drain();
        std::fprintf(out, "%lf", value);
    }
    return *this;
}
