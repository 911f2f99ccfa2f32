// The harness's gateway to files: one input read byte by byte and one output
// appended to. Every operation is safe on a closed side: reads give -1,
// writes do nothing.
#ifndef ZEM_FILEGATE_H
#define ZEM_FILEGATE_H

#include <cstdio>

class FileGate {
public:
    // File names have at most 255 characters; longer ones are refused.
    enum { NameSize = 256 };
    // Stream buffer of the input, in bytes.
    enum { InBufferSize = 1 << 16 };
    // Output collected before it goes to the stream, in bytes.
    enum { OutBufferSize = 1 << 13 };

    FileGate();
    ~FileGate();
    FileGate(const FileGate&) = delete;
    FileGate& operator=(const FileGate&) = delete;

    // Opens for reading (mode "r"). 1 on success; 0 leaves the input closed.
    int openIn(const char* fileName);
    // Opens for appending (mode "a+"). 1 on success; 0 leaves the output closed.
    int openOut(const char* fileName);
    // Opens for writing into buffer instead of a file: once the output is
    // closed, buffer holds what was written as a terminated text, cut to
    // size - 1 bytes. 1 on success; 0 leaves the output closed.
    int openOutText(char* buffer, std::size_t size);
    void closeIn();
    // Closes the output, and a held one too.
    void closeOut();
    // Closes the output as every caller sees it (writes are dropped, the
    // name is empty) but keeps its flushed stream, so that reopening the
    // same file costs no system calls. The interpreter holds the result
    // file between the tests of a script.
    void holdOut();
    // 1 when the file was removed, else 0.
    int deleteFile(const char* fileName);

    // The next input byte as 0..255; -1 at the end, on error or when closed.
    // Inline and without stream locking: the lexer reads every script byte
    // through here, and a FileGate is used by one thread only.
    int getChar()
    {
        if (!in)
            return -1;
        int c = getc_unlocked(in);
        return c == EOF ? -1 : c;
    }
    // Up to size input bytes into buf, as size calls of getChar would give
    // them; the count read, 0 at the end, on error or when closed.
    int read(char* buf, int size)
    {
        if (!in || size <= 0)
            return 0;
        return static_cast<int>(fread_unlocked(buf, 1, static_cast<std::size_t>(size), in));
    }
    void putChar(char c)
    {
        if (out)
            put(&c, 1);
    }
    char* getInFileName() { return inName; }
    char* getOutFileName() { return outName; }

    FileGate& operator<<(const char* text);
    FileGate& operator<<(int value);     // "%d"
    FileGate& operator<<(double value);  // "%lf"

private:
    char outName[NameSize];
    char inName[NameSize];
    // A held stream is reused for a reopen of the same name unless its file
    // was removed meanwhile (a test function may delete the result file);
    // then the name is opened afresh, as a closed output would be.
    int reuseHeld();
    void dropHeld();

    // A report is dozens of short pieces; they are gathered here and reach
    // the stream in one call whenever the output is flushed, held or closed.
    void put(const char* text, std::size_t length);
    void drain();

    FILE* in;
    FILE* out;
    char outBuffer[OutBufferSize];
    std::size_t outLength;
    FILE* held;
    char heldName[NameSize];
};

#endif
