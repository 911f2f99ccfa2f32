// A jail for fuzz targets: scripts and replies name files, and a fuzzer
// invents names. Every file call of the code under test goes through the
// wrappers in FileJail.cpp (linked with --wrap), which let only plain names
// through: files in the current directory, which whoever runs the target
// chooses (a scratch directory of the build tree).
#ifndef ZEM_FUZZ_FILEJAIL_H
#define ZEM_FUZZ_FILEJAIL_H

// True for a name the jail lets through: not empty, no "/", not "." or "..".
bool jailAllows(const char* path);

// The jail holds while one of these lives: a target creates one for each
// input, so that the fuzzing engine's own files (the corpus it grows) pass.
class FileJail {
public:
    FileJail() { s_Closed = true; }
    ~FileJail() { s_Closed = false; }
    FileJail(const FileJail&) = delete;
    FileJail& operator=(const FileJail&) = delete;
    static bool s_Closed;
};

#endif
