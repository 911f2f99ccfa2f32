// Checked whole-file reads and writes. The replacing write is the drawing
// library's, through a temporary file and a rename: on a full disk the
// user's file keeps its old bytes instead of a cut copy of the new ones.
#include "FileText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "WholeFile.h"

namespace {

const size_t kBlock = 1 << 16;

}

namespace FileText {

bool read(const std::string& path, std::string& bytes)
{
    bytes.clear();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char block[kBlock];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        bytes.append(block, got);
    bool ok = !std::ferror(file);
    int saved = ok ? 0 : EIO;
    std::fclose(file);
    if (!ok)
        errno = saved;
    return ok;
}

bool write(const std::string& path, const std::string& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    int saved = errno;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (!ok)
        errno = saved ? saved : EIO;
    return ok;
}

bool replace(const std::string& path, const std::string& bytes)
{
    std::string error;
    return replaceWholeFile(path, bytes, error);
}

bool isPlainOrAbsent(const std::string& path) { return isPlainFileOrAbsent(path); }

std::string failure(const char* what, const std::string& path)
{
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

}
