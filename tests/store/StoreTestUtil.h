// Helpers shared by the data-store tests: temporary files and capturing
// what the data store writes through the interpreter's adapter.
#ifndef ZEM_STORE_TEST_UTIL_H
#define ZEM_STORE_TEST_UTIL_H

#include <cstdio>
#include <string>
#include <unistd.h>

#include "FileGate.h"
#include "Parse.h"

// A fresh file name in the temporary directory, removed on destruction.
class TempFile {
public:
    explicit TempFile(const char* tag) {
        static int seq = 0;
        path_ = std::string("/tmp/zem_store_") + tag + "_" + std::to_string(getpid()) + "_" +
                std::to_string(seq++);
        std::remove(path_.c_str());
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const char* path() const { return path_.c_str(); }
    std::string read() const {
        std::string s;
        FILE* f = std::fopen(path_.c_str(), "rb");
        if (!f) return s;
        int c;
        while ((c = std::fgetc(f)) != EOF) s.push_back(static_cast<char>(c));
        std::fclose(f);
        return s;
    }
    void write(const std::string& s) const {
        FILE* f = std::fopen(path_.c_str(), "wb");
        std::fwrite(s.data(), 1, s.size(), f);
        std::fclose(f);
    }

private:
    std::string path_;
};

// Collects the data store's messages while alive; text() returns what
// arrived since the previous call.
class CaptureIO {
public:
    CaptureIO() : file_("io") { Parse::getIO().openOut(file_.path()); }
    ~CaptureIO() { Parse::getIO().closeOut(); }
    std::string text() {
        Parse::getIO().closeOut();
        std::string s = file_.read();
        std::remove(file_.path());
        Parse::getIO().openOut(file_.path());
        return s;
    }

private:
    TempFile file_;
};

#endif
