// The user's script around a local run. Every step is checked, and every
// failure leaves the user's bytes on disk under a name the message gives.
#include "ScriptAside.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "FileText.h"

namespace {

bool exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// A name beside the script that nothing else uses; created empty, so that
// the rename that follows replaces it.
bool uniqueAside(const std::string& path, std::string& aside)
{
    aside = path + "_XXXXXX";
    int fd = mkstemp(aside.data());
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

}

bool ScriptAside::moveAside(std::string& message)
{
    m_Aside = m_Path + "_";
    if (exists(m_Aside) && !uniqueAside(m_Path, m_Aside)) {
        message = FileText::failure("not run: no room beside", m_Path);
        return false;
    }
    if (std::rename(m_Path.c_str(), m_Aside.c_str()) != 0) {
        message = FileText::failure("not run: cannot set aside", m_Path);
        if (m_Aside != m_Path + "_")
            unlink(m_Aside.c_str());
        return false;
    }
    m_State = kMoved;
    return true;
}

bool ScriptAside::writeScript(const std::string& script, std::string& message)
{
    if (FileText::write(m_Path, script))
        return true;
    message = FileText::failure("not run: cannot write", m_Path);
    unlink(m_Path.c_str());
    std::string ignored;
    if (!restore(ignored))
        message = ignored;
    m_State = kUntouched;
    return false;
}

bool ScriptAside::put(const std::string& path, const std::string& script, std::string& message)
{
    m_Path = path;
    m_State = kUntouched;
    if (!FileText::isPlainOrAbsent(path)) {
        message = FileText::failure("not run: no plain file at", path);
        return false;
    }
    std::string onDisk;
    if (exists(path)) {
        if (FileText::read(path, onDisk) && onDisk == script)
            return true;
        if (!moveAside(message))
            return false;
    } else {
        m_State = kCreated;
    }
    return writeScript(script, message);
}

bool ScriptAside::restore(std::string& message)
{
    State state = m_State;
    m_State = kUntouched;
    if (state == kCreated && unlink(m_Path.c_str()) != 0 && errno != ENOENT) {
        message = FileText::failure("cannot remove the run's copy", m_Path);
        return false;
    }
    if (state == kMoved && std::rename(m_Aside.c_str(), m_Path.c_str()) != 0) {
        message = FileText::failure(("script left as " + m_Aside + ", not back at").c_str(), m_Path);
        return false;
    }
    return true;
}
