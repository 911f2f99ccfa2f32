// Helpers shared by the data-store tests: temporary files and capturing
// what the data store writes through the interpreter's adapter.
#ifndef ZEM_STORE_TEST_UTIL_H
#define ZEM_STORE_TEST_UTIL_H

#include <cstdio>
#include <string>

#include "ScratchDir.h"

#include "FileGate.h"
#include "Parse.h"

// A fresh file name in a scratch directory of its own; the file goes with
// the directory on destruction.
class TempFile {
public:
    explicit TempFile(const char* tag) : dir_("zem_store"), path_(dir_.file(tag)) {}
    const char* path() const { return path_.c_str(); }
    std::string read() const { return zemtest::readFile(path_); }
    void write(const std::string& s) const { zemtest::writeFile(path_, s); }

private:
    zemtest::ScratchDir dir_;
    std::string path_;
};

// Collects the data store's messages while alive; text() returns what
// arrived since the previous call.
class CaptureIO {
public:
    CaptureIO() : file_("io") { Parse::getIO().openOut(file_.path()); }
    ~CaptureIO() { Parse::getIO().closeOut(); }
    std::string text()
    {
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
