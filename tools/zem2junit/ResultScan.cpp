// Result-file scanner. The tester writes blocks of a fixed shape: a header
// line, "{", the body, and "}" at the start of a line ("} [ERROR]" for a run
// that failed). A header ending in "()" is a call trace, any other header a
// test's report block or broken-test record. Between blocks only empty lines
// and the driver's error text are expected; whatever else turns up is kept
// as it is, for the suite's system-out, so no file is ever refused.
#include "ResultScan.h"

#include <cctype>
#include <map>

namespace zemjunit {
namespace {

const char kBrokenTest[] = "    TEST = \"BROKEN";
const char kBrokenTrace[] = "TRACE = \"BROKEN";
const char kFailedRun[] = "} [ERROR]";
const char kFailedCheck[] = "] ERROR";
const char kHeadComment[] = "  //";
const char kUnknownFunction[] = " = \"unknown testfunction\"";
const char kNotRun[] = "did not run: the run ended ";
const char kNoEnd[] = "the run did not reach the end of the script";

bool startsWith(const std::string& s, const char* prefix)
{
    return s.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

bool endsWith(const std::string& s, const char* suffix)
{
    size_t n = std::char_traits<char>::length(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

std::string trimLeft(const std::string& s)
{
    size_t i = s.find_first_not_of(' ');
    return i == std::string::npos ? std::string() : s.substr(i);
}

std::string trim(const std::string& s)
{
    size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string lineSuffix(int line) { return " (line " + std::to_string(line) + ")"; }

// Lines without their '\n'; a last line without one is kept all the same.
std::vector<std::string> splitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t nl = bytes.find('\n', start);
        if (nl == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, nl - start));
        start = nl + 1;
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines, size_t first, size_t last)
{
    std::string text;
    for (size_t i = first; i <= last; ++i)
        text += lines[i] + "\n";
    return text;
}

bool isClosing(const std::string& line) { return line == "}" || line == kFailedRun; }

// Index of the line that closes the block headed at first, or 0 when the
// lines at first do not make a complete block.
size_t blockEnd(const std::vector<std::string>& lines, size_t first)
{
    const std::string& head = lines[first];
    if (head.empty() || head[0] == ' ' || head == "{" || head == "}")
        return 0;
    if (first + 1 >= lines.size() || lines[first + 1] != "{")
        return 0;
    // Bodies are indented; a "{" at the start of a line means the header
    // line above belongs to no block and a new block starts there.
    for (size_t i = first + 2; i < lines.size(); ++i) {
        if (isClosing(lines[i]))
            return i;
        if (lines[i] == "{")
            return 0;
    }
    return 0;
}

// The driver's error text: "<message> in line <N>", perhaps followed by
// " ( <token>... )".
bool isScriptError(const std::string& line)
{
    if (line.empty() || line[0] == ' ')
        return false;
    size_t at = line.rfind(" in line ");
    if (at == std::string::npos)
        return false;
    size_t i = at + 9, digits = i;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])))
        ++i;
    if (i == digits)
        return false;
    return i == line.size() || (startsWith(line.substr(i), " ( ") && endsWith(line, "... )"));
}

// The driver closes a run with one more "\n" after the last block's empty
// line or after its error text; a run that died stops at its last block.
bool runEnded(const std::vector<std::string>& lines)
{
    size_t n = lines.size();
    if (n == 0 || isScriptError(lines[n - 1]))
        return n > 0;
    return lines[n - 1].empty() && (n == 1 || lines[n - 2].empty() || isScriptError(lines[n - 2]));
}

// The quoted text of a BROKEN line, e.g. BROKEN (segm violation).
std::string quoted(const std::string& line)
{
    size_t open = line.find('"');
    size_t close = line.rfind('"');
    if (open == std::string::npos || close <= open)
        return trimLeft(line);
    return line.substr(open + 1, close - open - 1);
}

// Two tests named by the same comment are told apart by their lines.
void appendRepeatedLines(std::vector<TestCase>& cases)
{
    std::map<std::string, int> count;
    for (const TestCase& tc : cases)
        ++count[tc.name];
    for (TestCase& tc : cases) {
        std::string suffix = lineSuffix(tc.line);
        if (count[tc.name] > 1 && tc.line && !endsWith(tc.name, suffix.c_str()))
            tc.name += suffix;
    }
}

// What repeats all the same (a file that holds two runs of a script, or no
// script to give lines) gets the number of its repetition.
void numberRepeated(std::vector<TestCase>& cases)
{
    std::map<std::string, int> seen;
    for (TestCase& tc : cases) {
        int n = ++seen[tc.name];
        if (n > 1)
            tc.name += " #" + std::to_string(n);
    }
}

class Scanner {
public:
    Scanner(const std::vector<std::string>& lines, const std::vector<ScriptTest>& tests)
        : m_Lines(lines), m_Tests(tests)
    {}

    ScanResult run();

private:
    void addTrace(size_t first, size_t last);
    void addReport(size_t first, size_t last);
    void addCase(TestCase tc);
    void stopRun();
    void addNotRun();
    void nameCase(TestCase& tc, const std::string& function, const std::string& comment) const;
    std::string headComment(size_t first, size_t last) const;
    bool isUnknownFunction(size_t first, size_t last) const;
    const ScriptTest* nextTest() const;

    const std::vector<std::string>& m_Lines;
    const std::vector<ScriptTest>& m_Tests;
    ScanResult m_Result;
    std::string m_Traces;    // traces waiting for their test's report block
    size_t m_RunTests = 0;   // test cases since the last run ended
    int m_Stop = -1;         // the broken case that the file ends on, if any
    size_t m_StopTests = 0;  // test cases of the run that it ended
};

ScanResult Scanner::run()
{
    int empties = 0;
    for (size_t i = 0; i < m_Lines.size(); ++i) {
        const std::string& line = m_Lines[i];
        if (line.empty()) {
            // A run ends with one more empty line after its last block.
            if (++empties >= 2)
                m_RunTests = 0;
            continue;
        }
        empties = 0;
        if (size_t end = blockEnd(m_Lines, i)) {
            if (endsWith(line, "()"))
                addTrace(i, end);
            else
                addReport(i, end);
            i = end;
        } else if (isScriptError(line)) {
            TestCase tc;
            tc.name = "script error";
            tc.verdict = Verdict::ScriptError;
            tc.message = line;
            tc.text = line + "\n";
            addCase(tc);
            m_RunTests = 0;
        } else {
            m_Result.stray += line + "\n";
        }
    }
    m_Result.stray += m_Traces;
    size_t notRun = m_Result.cases.size();
    if (!runEnded(m_Lines))
        addNotRun();
    appendRepeatedLines(m_Result.cases);
    numberRepeated(m_Result.cases);
    // The reason names the broken test as the dashboard shows it.
    std::string why =
        m_Stop < 0 ? "early" : "at " + m_Result.cases[m_Stop].message + " in " + m_Result.cases[m_Stop].name;
    for (size_t i = notRun; i < m_Result.cases.size(); ++i) {
        TestCase& tc = m_Result.cases[i];
        if (tc.message.empty())
            tc.message = kNotRun + why;
        tc.text = tc.message + "\n";
    }
    return m_Result;
}

// A trace belongs to the next report block, unless a fatal signal cut it
// short: then it is all that is left of its test.
void Scanner::addTrace(size_t first, size_t last)
{
    std::string text = joinLines(m_Lines, first, last);
    m_Traces += text + "\n";
    for (size_t i = first + 2; i < last; ++i) {
        if (!startsWith(trimLeft(m_Lines[i]), kBrokenTrace))
            continue;
        const std::string& head = m_Lines[first];
        const ScriptTest* test = nextTest();
        TestCase tc;
        nameCase(tc, test ? test->name : head.substr(0, head.size() - 2), std::string());
        tc.verdict = Verdict::Broken;
        tc.message = quoted(m_Lines[i]);
        tc.text = text;
        addCase(tc);
        stopRun();
        return;
    }
}

void Scanner::addReport(size_t first, size_t last)
{
    TestCase tc;
    nameCase(tc, m_Lines[first], headComment(first + 2, last));
    tc.text = joinLines(m_Lines, first, last);
    if (last == first + 3 && startsWith(m_Lines[first + 2], kBrokenTest)) {
        tc.verdict = Verdict::Broken;
        tc.message = quoted(m_Lines[first + 2]);
        addCase(tc);
        stopRun();
        return;
    }
    if (isUnknownFunction(first, last)) {
        tc.verdict = Verdict::UnknownFunction;
        tc.message = "unknown test function " + m_Lines[first];
        addCase(tc);
        return;
    }
    for (size_t i = first + 2; i < last && tc.message.empty(); ++i)
        if (endsWith(m_Lines[i], kFailedCheck))
            tc.message = trimLeft(m_Lines[i]);
    if (m_Lines[last] == kFailedRun && tc.message.empty())
        tc.message = "the test function did not run to its end";
    if (!tc.message.empty())
        tc.verdict = Verdict::Failed;
    addCase(tc);
}

void Scanner::addCase(TestCase tc)
{
    m_Stop = -1;  // whatever follows a broken record is a later run's
    if (tc.verdict != Verdict::ScriptError) {
        tc.traces = m_Traces;
        m_Traces.clear();
        ++m_RunTests;
    }
    m_Result.cases.push_back(tc);
}

// A broken record is the last thing a run writes.
void Scanner::stopRun()
{
    m_Stop = static_cast<int>(m_Result.cases.size()) - 1;
    m_StopTests = m_RunTests;
    m_RunTests = 0;
}

// A run that died leaves the rest of the script without a word: each test
// it never reached is an error, so that a dashboard never shows a dead run
// green. Without the script only the run itself can say so.
void Scanner::addNotRun()
{
    size_t reported = m_Stop < 0 ? m_RunTests : m_StopTests;
    size_t first = m_Result.cases.size();
    for (size_t i = reported; i < m_Tests.size(); ++i) {
        TestCase tc;
        tc.line = m_Tests[i].line;
        tc.name = m_Tests[i].comment.empty() ? m_Tests[i].name + lineSuffix(tc.line) : m_Tests[i].comment;
        tc.verdict = Verdict::NotRun;
        m_Result.cases.push_back(tc);
    }
    if (m_Result.cases.size() == first && (m_Stop < 0 || m_Tests.empty())) {
        TestCase tc;
        tc.name = "end of the run";
        tc.verdict = Verdict::NotRun;
        tc.message = kNoEnd;
        m_Result.cases.push_back(tc);
    }
}

// Tests run in script order, so the n-th test case of a run is the n-th
// test of the script.
const ScriptTest* Scanner::nextTest() const
{
    return m_RunTests < m_Tests.size() ? &m_Tests[m_RunTests] : nullptr;
}

// A dashboard keeps a test's history by its name, and a script may call one
// function in many tests: the head comment says what the test is about,
// the script line tells apart the tests that have none. The line is only
// trusted when the script's test there has the block's function.
void Scanner::nameCase(TestCase& tc, const std::string& function, const std::string& comment) const
{
    const ScriptTest* test = nextTest();
    tc.line = test && test->name == function ? test->line : 0;
    if (!comment.empty())
        tc.name = comment;
    else
        tc.name = tc.line ? function + lineSuffix(tc.line) : function;
}

// The first comment line with text at the head of a block's body.
std::string Scanner::headComment(size_t first, size_t last) const
{
    for (size_t i = first; i < last && startsWith(m_Lines[i], kHeadComment); ++i) {
        std::string text = trim(m_Lines[i].substr(std::char_traits<char>::length(kHeadComment)));
        if (!text.empty())
            return text;
    }
    return std::string();
}

// The tester logs the missing function under its own name and ends the
// block as a failed run; a function that logged the same text itself would
// have run to its end.
bool Scanner::isUnknownFunction(size_t first, size_t last) const
{
    if (m_Lines[last] != kFailedRun)
        return false;
    const std::string logged = "    " + m_Lines[first] + kUnknownFunction;
    for (size_t i = first + 2; i < last; ++i)
        if (m_Lines[i] == logged)
            return true;
    return false;
}

bool isNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == ':' || c == '[' || c == ']';
}

// Index just past a comment or string starting at i, or i when none starts.
size_t skipIgnored(const std::string& s, size_t i)
{
    if (s.compare(i, 2, "//") == 0) {
        size_t nl = s.find('\n', i);
        return nl == std::string::npos ? s.size() : nl + 1;
    }
    if (s.compare(i, 2, "/*") == 0) {
        size_t end = s.find("*/", i + 2);
        return end == std::string::npos ? s.size() : end + 2;
    }
    if (s[i] == '"') {
        size_t end = s.find_first_of("\"\n", i + 1);
        return end == std::string::npos ? s.size() : end + 1;
    }
    return i;
}

// Line numbers of positions that only grow, counted as a scan goes on.
class LineCounter {
public:
    explicit LineCounter(const std::string& text) : m_Text(text) {}

    int lineAt(size_t pos)
    {
        for (; m_Pos < pos; ++m_Pos)
            m_Line += m_Text[m_Pos] == '\n';
        return m_Line;
    }

private:
    const std::string& m_Text;
    size_t m_Pos = 0;
    int m_Line = 1;
};

// The head comment of the test whose body starts at i: the tester keeps the
// line comments that come before the body's first name.
std::string bodyComment(const std::string& s, size_t i)
{
    while (i < s.size()) {
        if (std::isspace(static_cast<unsigned char>(s[i])) || s[i] == ';') {
            ++i;
        } else if (s.compare(i, 7, "verify:") == 0) {
            i += 7;
        } else if (s.compare(i, 2, "/*") == 0) {
            i = skipIgnored(s, i);
        } else if (s.compare(i, 2, "//") == 0) {
            size_t nl = s.find('\n', i);
            if (nl == std::string::npos)
                break;  // the tester refuses a comment that no line end closes
            std::string text = trim(s.substr(i + 2, nl - i - 2));
            if (!text.empty())
                return text;
            i = nl + 1;
        } else {
            break;
        }
    }
    return std::string();
}

}  // namespace

ScanResult scanResult(const std::string& bytes, const std::vector<ScriptTest>& scriptTests)
{
    std::vector<std::string> lines = splitLines(bytes);
    Scanner scanner(lines, scriptTests);
    return scanner.run();
}

std::vector<ScriptTest> scriptTests(const std::string& script)
{
    std::vector<ScriptTest> tests;
    LineCounter lines(script);
    std::string last;  // the top-level name read last, while no "{" followed yet
    size_t lastAt = 0;
    bool isExtern = false;
    int depth = 0;
    size_t i = 0;
    while (i < script.size()) {
        size_t next = skipIgnored(script, i);
        if (next != i) {
            last.clear();
            i = next;
            continue;
        }
        char c = script[i];
        if (isNameChar(c)) {
            size_t end = i;
            while (end < script.size() && isNameChar(script[end]))
                ++end;
            std::string word = script.substr(i, end - i);
            if (depth == 0) {
                isExtern = isExtern || word == "extern";
                last = word == "extern" ? std::string() : word;
                lastAt = i;
            }
            i = end;
            continue;
        }
        if (c == '{') {
            if (depth == 0 && !last.empty() && !isExtern)
                tests.push_back({last, lines.lineAt(lastAt), bodyComment(script, i + 1)});
            if (depth == 0)
                isExtern = false;
            ++depth;
        } else if (c == '}') {
            depth = depth > 0 ? depth - 1 : 0;
        }
        if (!std::isspace(static_cast<unsigned char>(c)) && c != ';')
            last.clear();
        ++i;
    }
    return tests;
}

}  // namespace zemjunit
