// File adapter: one input read byte by byte, one output appended to.
// Names longer than 255 characters are refused rather than cut, so that
// no other file than the one named is ever opened.
#include "FileGate.h"

#include <cstring>
#include <sys/stat.h>

namespace {
// Records name in field; 0 (field empty) when it does not fit.
int keepName(char* field, const char* name) {
    field[0] = '\0';
    if (!name) return 0;
    std::size_t n = std::strlen(name);
    if (n > FileGate::NameSize - 1) return 0;
    std::memcpy(field, name, n + 1);
    return 1;
}
}

FileGate::FileGate()
    : in(nullptr), out(nullptr), held(nullptr), outDev(0), outIno(0), heldDev(0), heldIno(0) {
    outName[0] = '\0';
    inName[0] = '\0';
    heldName[0] = '\0';
}

FileGate::~FileGate() {
    closeIn();
    closeOut();
}

int FileGate::openIn(const char* fileName) {
    closeIn();
    if (!keepName(inName, fileName)) return 0;
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

int FileGate::openOut(const char* fileName) {
    if (out) std::fclose(out);
    out = nullptr;
    if (!keepName(outName, fileName)) {
        dropHeld();
        return 0;
    }
    if (reuseHeld()) return 1;
    dropHeld();
    out = std::fopen(outName, "a+");
    if (!out) {
        outName[0] = '\0';
        return 0;
    }
    struct stat st;
    if (fstat(fileno(out), &st) == 0) {
        outDev = st.st_dev;
        outIno = st.st_ino;
    } else {
        outDev = outIno = 0;  // never matches a file's identity below
    }
    return 1;
}

void FileGate::closeIn() {
    if (in) std::fclose(in);
    in = nullptr;
    inName[0] = '\0';
}

void FileGate::closeOut() {
    if (out) std::fclose(out);
    out = nullptr;
    outName[0] = '\0';
    dropHeld();
}

void FileGate::holdOut() {
    dropHeld();
    if (!out) return;
    std::fflush(out);
    held = out;
    heldDev = outDev;
    heldIno = outIno;
    std::memcpy(heldName, outName, sizeof heldName);
    out = nullptr;
    outName[0] = '\0';
}

int FileGate::reuseHeld() {
    if (!held || std::strcmp(heldName, outName) != 0) return 0;
    struct stat named;
    if (stat(outName, &named) != 0 || heldIno == 0) return 0;
    if (named.st_dev != heldDev || named.st_ino != heldIno) return 0;
    out = held;
    outDev = heldDev;
    outIno = heldIno;
    held = nullptr;
    heldName[0] = '\0';
    return 1;
}

void FileGate::dropHeld() {
    if (held) std::fclose(held);
    held = nullptr;
    heldName[0] = '\0';
}

int FileGate::deleteFile(const char* fileName) {
    return (fileName && std::remove(fileName) == 0) ? 1 : 0;
}

void FileGate::putChar(char c) {
    if (out) std::fputc(static_cast<unsigned char>(c), out);
}

FileGate& FileGate::operator<<(const char* text) {
    if (out && text) std::fputs(text, out);
    return *this;
}

FileGate& FileGate::operator<<(int value) {
    if (out) std::fprintf(out, "%d", value);
    return *this;
}

FileGate& FileGate::operator<<(double value) {
    if (out) std::fprintf(out, "%lf", value);
    return *this;
}
