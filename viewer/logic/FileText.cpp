// Checked whole-file reads and writes. The replacing write goes through a
// temporary file and a rename: on a full disk the user's file keeps its old
// bytes instead of a cut copy of the new ones.
#include "FileText.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const size_t kBlock = 1 << 16;

// The file a write to path lands in: a link's target, else path itself.
std::string targetOf(const std::string& path)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// Writes all bytes to an open descriptor and makes them durable.
bool writeAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return fsync(fd) == 0;
}

// A new file gets the permissions an ordinary create would give it.
mode_t currentUmask()
{
    mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// The new file takes the old one's permissions, so a save changes bytes only.
bool writeBeside(const std::string& target, const std::string& bytes, std::string& tmp)
{
    tmp = target + ".XXXXXX";
    int fd = mkstemp(tmp.data());
    if (fd < 0)
        return false;
    struct stat info;
    bool ok = true;
    if (stat(target.c_str(), &info) == 0)
        ok = fchmod(fd, info.st_mode & 07777) == 0;
    else
        ok = fchmod(fd, 0666 & ~currentUmask()) == 0;
    ok = ok && writeAll(fd, bytes);
    int saved = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        unlink(tmp.c_str());
        errno = saved;
    }
    return ok;
}

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
    std::string target = targetOf(path);
    if (!isPlainOrAbsent(target))
        return false;
    if (access(target.c_str(), F_OK) == 0 && access(target.c_str(), W_OK) != 0)
        return false;
    std::string tmp;
    if (!writeBeside(target, bytes, tmp))
        return false;
    if (std::rename(tmp.c_str(), target.c_str()) != 0) {
        int saved = errno;
        unlink(tmp.c_str());
        errno = saved;
        return false;
    }
    return true;
}

bool isPlainOrAbsent(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT;
    if (S_ISREG(info.st_mode))
        return true;
    errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    return false;
}

std::string failure(const char* what, const std::string& path)
{
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

}
