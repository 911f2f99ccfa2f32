// Writing generated runs down as tests. The report block of a run without
// checks logs every value the run produced; each becomes an "==" check,
// and the run's drawing a file for a picture check. The script only ever
// grows by whole tests: a write that fails is cut back off.
#include "Recorder.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DrawingText.h"
#include "FileText.h"
#include "PictureView.h"
#include "ScriptTokens.h"
#include "TextLines.h"

namespace {

bool allOf(const std::string& s, size_t from, const char* set)
{
    return from < s.size() && s.find_first_not_of(set, from) == std::string::npos;
}

const char* const kDigits = "0123456789";

// Output names the verify section can spell: names, dots and indexes. A
// "(name)" is a definition handed back, not a value to check.
bool checkableName(const std::string& name)
{
    return !name.empty() && name[0] != '(' && name[0] != '.' && name[0] != '[' &&
           name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_.[]") ==
               std::string::npos;
}

// "3.000000", as "%lf" writes every double: the value lies within half a
// unit of the sixth decimal, so the check allows a unit (more where the
// double's own step is larger).
bool sixDecimals(const std::string& v)
{
    size_t from = v[0] == '-' ? 1 : 0;
    size_t dot = v.find('.');
    return dot != std::string::npos && dot > from && v.size() == dot + 7 &&
           v.find_first_not_of(kDigits, from) == dot && allOf(v, dot + 1, kDigits);
}

std::string toleranceOf(const std::string& v)
{
    // Reading the literal back and taking the difference cost a few steps.
    double step = std::fabs(std::strtod(v.c_str(), nullptr)) * 1e-15;
    if (step < 1e-8)
        return "0.000001";
    char text[40];
    std::snprintf(text, sizeof text, "%.2e", (1e-6 + step) * 1.01);
    return text;
}

// The expected side of a check for a logged value, or empty when a
// script cannot write it (a NaN equals nothing; strings have no escapes).
std::string expectedOf(const std::string& v)
{
    if (v.size() >= 2 && v.front() == '"')
        return v.back() == '"' && v.find('"', 1) == v.size() - 1 ? v : "";
    size_t from = v[0] == '-' ? 1 : 0;
    if (allOf(v, from, kDigits))
        return v;
    if (v.compare(0, 2, "0x") == 0 && allOf(v, 2, "0123456789abcdef"))
        return v;
    if (sixDecimals(v))
        return v + " +- " + toleranceOf(v);
    if (v == "inf" || v == "-inf")
        return v;
    char* end = nullptr;
    double d = std::strtod(v.c_str(), &end);
    if (end && *end == '\0' && !v.empty() && std::isfinite(d) && v.find_first_of("xX") == std::string::npos)
        return v;
    return "";
}

// The logged section's lines as checks; a multi-line string is skipped
// whole, its continuation lines being no values of their own.
std::string checksOf(const std::vector<std::string>& lines, size_t from)
{
    std::string checks;
    for (size_t i = from; i < lines.size() && (lines[i].empty() || lines[i][0] != '}'); ++i) {
        const std::string& l = lines[i];
        if (l.compare(0, 4, "    ") != 0)
            continue;
        size_t eq = l.find(" = ", 4);
        if (eq == std::string::npos) {
            continue;
        }
        std::string name = l.substr(4, eq - 4);
        std::string value = l.substr(eq + 3);
        if (!value.empty() && value[0] == '"' && (value.size() < 2 || value.back() != '"'))
            while (i + 1 < lines.size() && (lines[i + 1].empty() || lines[i + 1].back() != '"'))
                ++i;
        std::string expected = value.empty() ? "" : expectedOf(value);
        if (name[0] == '(')
            continue;
        if (checkableName(name) && !expected.empty())
            checks += "  " + name + " == " + expected + "\n";
        else
            checks += "  // not checked: " + name + "\n";
    }
    return checks;
}

std::string trimmed(const std::string& s)
{
    size_t a = s.find_first_not_of(" \t\n");
    if (a == std::string::npos)
        return "";
    return s.substr(a, s.find_last_not_of(" \t\n") - a + 1);
}

bool sameFile(const std::string& a, const std::string& b)
{
    struct stat sa, sb;
    if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0)
        return a == b;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::string baseName(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "rec.txt" records pictures as "rec_1.zdr" ...
std::string stemOf(const std::string& path)
{
    std::string base = baseName(path);
    size_t dot = base.rfind('.');
    return dot == std::string::npos || dot == 0 ? base : base.substr(0, dot);
}

bool spellable(const std::string& name)
{
    for (unsigned char c : name)
        if (c < ' ' || c == '"' || c == 127)
            return false;
    return !name.empty();
}

}

std::string unknownFunctionOf(const std::string& log)
{
    const std::string mark = " = \"unknown testfunction\"\n";
    size_t at = log.rfind(mark);
    if (at == std::string::npos)
        return "";
    size_t start = log.rfind("\n    ", at);
    start = start == std::string::npos ? 0 : start + 5;
    return log.substr(start, at - start);
}

std::string recordedTest(const std::string& record, const std::string& block, const std::string& pictureFile,
                         std::string& why)
{
    size_t open = record.find('{'), close = record.rfind('}');
    if (open == std::string::npos || close == std::string::npos || close < open || open == 0) {
        why = "the record is no test call";
        return "";
    }
    std::string name = record.substr(0, open);
    std::vector<std::string> lines = linesOf(block);
    size_t logged = 0, end = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == "  logged:")
            logged = i + 1;
        else if (logged && !lines[i].empty() && lines[i][0] == '}' && end == lines.size())
            end = i;
    }
    if (!logged || end == lines.size()) {
        why = "the run of " + name + " left no report";
        return "";
    }
    if (lines[end] != "}") {
        std::string unknown = unknownFunctionOf(block);
        why =
            unknown.empty() ? "the run of " + name + " failed" : "\"" + unknown + "\" is not a test function";
        return "";
    }
    std::string inputs = trimmed(record.substr(open + 1, close - open - 1));
    std::string test = name + " {\n";
    if (!inputs.empty())
        test += "  " + inputs + "\n";
    test += "  verify:\n" + checksOf(std::vector<std::string>(lines.begin(), lines.begin() + end), logged);
    test += "  picture \"" + pictureFile + "\"\n}\n";
    return test;
}

std::string recordingHeader(const std::string& resultFile, const std::string& scriptText)
{
    std::string header = "// Recorded by ZemViewer: each test below is a click or a key in the\n"
                         "// graphic view, with every value and the picture it produced.\n"
                         "deletefile \"" +
                         resultFile + "\"\nresultfile \"" + resultFile + "\"\n";
    for (const std::string& block : definitionBlocksOf(scriptText))
        header += block + "\n";
    return header + "\n";
}

bool Recorder::start(const std::string& path, const std::string& scriptPath, const std::string& scriptText,
                     std::string& message)
{
    stop();
    if (!spellable(path)) {
        message = "not recording: a script cannot name the file \"" + path + "\"";
        return false;
    }
    if (sameFile(path, scriptPath)) {
        message = "not recording: record into another file than the script";
        return false;
    }
    if (!FileText::isPlainOrAbsent(path)) {
        message = "not recording: " + path + " is not a plain file";
        return false;
    }
    std::string bytes;
    bool fresh = !FileText::read(path, bytes) || trimmed(bytes).empty();
    m_Path = path;
    m_Stem = stemOf(path);
    std::string error;
    if (!append(fresh ? recordingHeader(m_Stem + "_result.txt", scriptText) : "", error)) {
        message = "not recording: " + error;
        return false;
    }
    m_On = true;
    m_Count = 0;
    message = "recording into " + path;
    return true;
}

void Recorder::stop() { m_On = false; }

std::string Recorder::nextPicture() const
{
    for (int n = m_Count + 1;; ++n) {
        std::string name = m_Stem + "_" + std::to_string(n) + ".zdr";
        struct stat st;
        // A drawing already there belongs to an earlier recording: kept.
        if (lstat(drawingBesideScript(m_Path, name).c_str(), &st) != 0 && errno == ENOENT)
            return name;
    }
}

Recorder::Result Recorder::add(const RecordedRun& run, std::string& message)
{
    if (!m_On)
        return kSkipped;
    std::string why;
    std::string picture = nextPicture();
    std::string test =
        run.cutShort.empty() ? recordedTest(run.record, lastRunOfLog(run.log), picture, why) : "";
    if (test.empty()) {
        message = "not recorded: " + (run.cutShort.empty() ? why : run.cutShort);
        return kSkipped;
    }
    std::string drawingPath = drawingBesideScript(m_Path, picture), error;
    if (!saveDrawingFile(drawingPath, run.drawing, error) || !append(test + "\n", error)) {
        unlink(drawingPath.c_str());
        m_On = false;
        message = "record off: " + error;
        return kFailed;
    }
    ++m_Count;
    message = "recorded " + std::to_string(m_Count) + " into " + m_Path;
    return kRecorded;
}

bool Recorder::append(const std::string& text, std::string& error)
{
    int fd = open(m_Path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) {
        error = FileText::failure("cannot write", m_Path);
        if (fd >= 0)
            close(fd);
        return false;
    }
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    bool whole = done == text.size() && fsync(fd) == 0;
    if (!whole) {
        error = FileText::failure("cannot write", m_Path);
        // The tests recorded before stay; a test half written goes.
        if (ftruncate(fd, st.st_size) != 0)
            error += " (and cannot cut it back)";
    }
    if (close(fd) != 0 && whole) {
        error = FileText::failure("cannot write", m_Path);
        whole = false;
    }
    return whole;
}
