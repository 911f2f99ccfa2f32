// The tester writes a drawing file's name between quotes without escaping
// it, so the closing quote is the one after which the line goes on as a
// picture check's does, naming the same file again in its outcome.
#include "PictureReport.h"

#include <cstdlib>
#include <cstring>

namespace {

const char kCheck[] = "picture \"";
const char kFailed[] = "] ERROR";
const char kTolerance[] = " +- ";
// Beyond any coordinate a drawing holds: a larger tolerance changes nothing.
const double kToleranceMax = 1e6;

bool startsWith(const std::string& s, size_t at, const std::string& prefix)
{
    return s.compare(at, prefix.size(), prefix) == 0;
}

bool endsWith(const std::string& s, const char* suffix)
{
    size_t n = std::strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

}

bool readFailedPicture(const std::string& line, FailedPictureLine& out)
{
    const size_t start = sizeof kCheck - 1;
    if (!startsWith(line, 0, kCheck) || !endsWith(line, kFailed))
        return false;
    for (size_t q = line.find('"', start); q != std::string::npos; q = line.find('"', q + 1)) {
        std::string file = line.substr(start, q - start);
        size_t rest = q + 1;
        double tolerance = 0;
        if (startsWith(line, rest, kTolerance)) {
            const char* number = line.c_str() + rest + sizeof kTolerance - 1;
            char* end = nullptr;
            tolerance = std::strtod(number, &end);
            if (end == number)
                continue;
            rest = static_cast<size_t>(end - line.c_str());
        }
        if (file.empty() || !startsWith(line, rest, "; [picture " + file + ": "))
            continue;
        out.file = file;
        // NaN fails both comparisons and counts as no tolerance.
        out.tolerance = tolerance > kToleranceMax ? static_cast<int>(kToleranceMax)
                        : tolerance > 0           ? static_cast<int>(tolerance)
                                                  : 0;
        size_t open = rest + 3;
        out.outcome = line.substr(open, line.size() - (sizeof kFailed - 1) - open);
        return true;
    }
    return false;
}
