// Whole files for drawings and their pictures: read in one call, and
// replaced so that a reader never sees a file cut short.
#ifndef ZEM_WHOLEFILE_H
#define ZEM_WHOLEFILE_H

#include <cstddef>
#include <string>

// Files larger than this are refused rather than read into memory.
const std::size_t kWholeFileMaxBytes = std::size_t(256) << 20;

// The file's bytes. On failure returns false with error "PATH: reason".
bool readWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Writes the bytes to a new file beside path and renames it over path, so
// that path holds either its old or its new bytes, never a part. The new
// file keeps the old one's permissions; a symbolic link is followed and
// its target replaced; a file that is not writable, a directory, a device
// or a pipe is left alone. On failure the new file is removed, error is
// "PATH: reason" and errno says why.
bool replaceWholeFile(const std::string& path, const std::string& bytes, std::string& error);

// True for a regular file or no file at all; false (errno set) for a
// directory, a device or a pipe, which no whole-file write may replace.
bool isPlainFileOrAbsent(const std::string& path);

#endif
