// Scripts between the editor and the disk. The editor holds neither
// carriage returns nor NUL bytes; a saved script always ends with a newline.
#include "ScriptText.h"

#include "FileText.h"

bool loadScript(const std::string& path, std::string& text)
{
    std::string bytes;
    text.clear();
    if (!FileText::read(path, bytes))
        return false;
    text.reserve(bytes.size());
    for (char c : bytes)
        if (c != '\r' && c != '\0')
            text += c;
    return true;
}

std::string savedForm(const std::string& text)
{
    if (!text.empty() && text.back() == '\n')
        return text;
    return text + "\n";
}

bool saveScript(const std::string& path, const std::string& text, std::string& message)
{
    if (FileText::replace(path, savedForm(text)))
        return true;
    message = FileText::failure("not saved:", path);
    return false;
}

std::string baseName(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
