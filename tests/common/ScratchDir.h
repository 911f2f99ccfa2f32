// File helpers shared by every test area: a scratch directory of its own
// per test, and whole files read and written in one call.
#ifndef ZEM_TESTS_SCRATCHDIR_H
#define ZEM_TESTS_SCRATCHDIR_H

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace zemtest {

// The whole file as bytes; empty when it cannot be opened, so that a test
// compares against what should have been written instead of crashing.
inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Replaces the file's contents; returns 1 on success and 0 on failure.
inline int writeFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return out.good() ? 1 : 0;
}

// A fresh directory under the system's temporary directory, removed with
// everything in it on destruction. ctest runs tests in parallel processes,
// so the name is made unique by mkdtemp rather than by the tag alone.
class ScratchDir {
public:
    explicit ScratchDir(const char* tag = "zem")
    {
        std::error_code ec;
        std::string pattern = (std::filesystem::temp_directory_path(ec) / tag).string() + "_XXXXXX";
        if (ec)
            pattern = std::string("/tmp/") + tag + "_XXXXXX";
        if (mkdtemp(pattern.data()))
            m_Path = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ec;
        if (!m_Path.empty())
            std::filesystem::remove_all(m_Path, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // Empty when the directory could not be made.
    const std::filesystem::path& path() const { return m_Path; }
    // The path of a file inside the directory, as text for C interfaces.
    std::string file(const std::string& name) const { return (m_Path / name).string(); }

private:
    std::filesystem::path m_Path;
};

}  // namespace zemtest

#endif
