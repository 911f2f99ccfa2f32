// The fuzz targets' file jail: the wrapped calls refuse every name with a
// directory in it, so no invented name can reach a file outside the jail.
#include "FileJail.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>

bool FileJail::s_Closed = false;

static bool passes(const char* path) { return !FileJail::s_Closed || jailAllows(path); }

extern "C" {
FILE* __real_fopen(const char* path, const char* mode);
int __real_open(const char* path, int flags, ...);
int __real_remove(const char* path);
int __real_rename(const char* from, const char* to);

FILE* __wrap_fopen(const char* path, const char* mode)
{
    if (!passes(path)) {
        errno = EACCES;
        return nullptr;
    }
    return __real_fopen(path, mode);
}

int __wrap_open(const char* path, int flags, ...)
{
    if (!passes(path)) {
        errno = EACCES;
        return -1;
    }
    mode_t mode = 0;
    if (flags & O_CREAT) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    return __real_open(path, flags, mode);
}

int __wrap_remove(const char* path)
{
    if (!passes(path)) {
        errno = EACCES;
        return -1;
    }
    return __real_remove(path);
}

int __wrap_rename(const char* from, const char* to)
{
    if (!passes(from) || !passes(to)) {
        errno = EACCES;
        return -1;
    }
    return __real_rename(from, to);
}
}

bool jailAllows(const char* path)
{
    return path && path[0] && !std::strchr(path, '/') && std::strcmp(path, ".") != 0 &&
           std::strcmp(path, "..") != 0;
}
