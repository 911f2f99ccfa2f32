// A jail for fuzz targets: scripts and replies name files, and a fuzzer
// invents names. Every file call of the code under test goes through the
// wrappers in FileJail.cpp (linked with --wrap), which let only plain names
// through: files in the current directory, which whoever runs the target
// chooses (a scratch directory of the build tree).
#ifndef ZEM_FUZZ_FILEJAIL_H
#define ZEM_FUZZ_FILEJAIL_H

// True for a name the jail lets through: not empty, no "/", not "." or "..".
bool jailAllows(const char* path);

#endif
