// Whole files in and out for the viewer's scripts, every step checked: a
// write that fails never leaves a file cut short in place of a whole one.
// The replacing write and the plain-file test are WholeFile's, in errno's
// terms.
#ifndef ZEM_FILETEXT_H
#define ZEM_FILETEXT_H

#include <string>

namespace FileText {

// The whole file, byte for byte; false (errno kept) when it cannot be read.
bool read(const std::string& path, std::string& bytes);

// Writes bytes to path and closes it, checking every step; false (errno
// kept) on any failure, after which the file may hold part of the bytes.
bool write(const std::string& path, const std::string& bytes);

// Replaces path by bytes through a new file in the same directory that is
// renamed over it, so path holds either its old or its new bytes, never a
// part. A symbolic link is followed and its target replaced; a file that is
// not writable is left alone. False (errno kept) on any failure.
bool replace(const std::string& path, const std::string& bytes);

// True for a regular file or no file at all; false (errno set) for a
// directory, a device or a pipe, which no script write may replace.
bool isPlainOrAbsent(const std::string& path);

// "<what> <path>: <reason of errno>", the form of the viewer's messages.
std::string failure(const char* what, const std::string& path);

}

#endif
