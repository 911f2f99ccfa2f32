// Reading and atomically replacing whole files with POSIX calls, which
// report a directory or a full disk where a stream would only go bad.
#include "WholeFile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool fail(const std::string& path, const char* reason, std::string& error)
{
    error = path + ": " + reason;
    return false;
}

bool failErrno(const std::string& path, const char* what, std::string& error)
{
    return fail(path, (std::string(what) + " (" + std::strerror(errno) + ")").c_str(), error);
}

bool readAll(int fd, const std::string& path, std::string& bytes, std::string& error)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failErrno(path, "cannot be read", error);
        if (n == 0)
            return true;
        if (bytes.size() + static_cast<std::size_t>(n) > kWholeFileMaxBytes)
            return fail(path, "is too large (more than 256 MiB)", error);
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

bool writeAll(int fd, const std::string& bytes)
{
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = EIO;
        if (n <= 0)
            return false;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// A name beside path that no other writer in this or another process picks.
std::string temporaryName(const std::string& path)
{
    static std::atomic<unsigned> serial{0};
    return path + ".tmp" + std::to_string(::getpid()) + "." + std::to_string(serial++);
}

// Removes the new file; errno still says why the replace failed.
bool discard(const std::string& temporary)
{
    int saved = errno;
    ::unlink(temporary.c_str());
    errno = saved;
    return false;
}

// The file a write to path lands in: a link's target, else path itself.
std::string targetOf(const std::string& path)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// What an ordinary create would give a new file.
mode_t newFileMode()
{
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool readWholeFile(const std::string& path, std::string& bytes, std::string& error)
{
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return failErrno(path, "cannot be opened", error);
    struct stat info;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (!ok)
        fail(path, "is not a plain file", error);
    else
        ok = readAll(fd, path, bytes, error);
    ::close(fd);
    if (!ok)
        bytes.clear();
    return ok;
}

// fsync before the rename: after a crash the new name must not point at
// bytes that never reached the disk.
bool replaceWholeFile(const std::string& path, const std::string& bytes, std::string& error)
{
    const std::string target = targetOf(path);
    if (!isPlainFileOrAbsent(target))
        return failErrno(path, "cannot be replaced", error);
    struct stat info;
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return failErrno(path, "cannot be written", error);
    const std::string temporary = temporaryName(target);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return failErrno(path, "cannot be written", error);
    if (::fchmod(fd, exists ? info.st_mode & 07777 : newFileMode()) != 0 || !writeAll(fd, bytes) ||
        ::fsync(fd) != 0) {
        failErrno(path, "cannot be written", error);
        int saved = errno;
        ::close(fd);
        errno = saved;
        return discard(temporary);
    }
    if (::close(fd) != 0) {
        failErrno(path, "cannot be written", error);
        return discard(temporary);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        failErrno(path, "cannot be replaced", error);
        return discard(temporary);
    }
    return true;
}

bool isPlainFileOrAbsent(const std::string& path)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT;
    if (S_ISREG(info.st_mode))
        return true;
    errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    return false;
}
