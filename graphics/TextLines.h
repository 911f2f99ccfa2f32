// A text as its lines, for the readers of result files and scripts.
#ifndef ZEM_TEXTLINES_H
#define ZEM_TEXTLINES_H

#include <string>
#include <vector>

// Lines without their '\n'; a last line without one is kept all the same.
inline std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

#endif
