// JUnit XML in the shape CI servers read: testsuites > testsuite > testcase
// with failure, error and system-out. Test functions may log any bytes, so
// the escaping decides byte by byte what XML 1.0 may carry.
#include "JUnitXml.h"

#include <cstdio>

namespace zemjunit {
namespace {

// Length of the well-formed UTF-8 sequence of an allowed XML character at
// i, or 0 when the bytes there are not one.
size_t utf8Length(const std::string& s, size_t i)
{
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    unsigned long cp = c & (0x7F >> n);
    for (size_t k = 1; k < n; ++k) {
        unsigned char d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (d & 0x3F);
    }
    static const unsigned long kLowest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kLowest[n] || cp > 0x10FFFF)
        return 0;  // overlong or beyond Unicode
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp == 0xFFFE || cp == 0xFFFF)
        return 0;  // surrogates and the two non-characters XML excludes
    return n;
}

void appendHexByte(std::string& out, unsigned char c)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%02X", c);
    out += buf;
}

// The escape of one ASCII byte, or null when it passes unchanged.
const char* asciiEscape(char c, bool attribute)
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return attribute ? "&quot;" : nullptr;
    case '\n': return attribute ? "&#10;" : nullptr;
    case '\t': return attribute ? "&#9;" : nullptr;
    case '\r': return "&#13;";  // a parser would turn a raw one into '\n'
    default: return nullptr;
    }
}

void appendAttribute(std::string& out, const char* name, const std::string& value)
{
    out += ' ';
    out += name;
    out += "=\"" + xmlEscape(value, true) + "\"";
}

void appendCount(std::string& out, const char* name, int value)
{
    appendAttribute(out, name, std::to_string(value));
}

void appendElement(std::string& out, const char* indent, const char* tag, const std::string& text)
{
    out += indent;
    out += "<";
    out += tag;
    out += ">" + xmlEscape(text, false) + "</" + tag + ">\n";
}

const char* errorType(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Failed: return "verification";
    case Verdict::Broken: return "broken test";
    case Verdict::UnknownFunction: return "unknown test function";
    case Verdict::NotRun: return "not run";
    default: return "script error";
    }
}

void appendCase(std::string& out, const TestCase& tc, const std::string& suiteName)
{
    out += "    <testcase";
    appendAttribute(out, "name", tc.name);
    appendAttribute(out, "classname", suiteName);
    out += ">\n";
    if (tc.verdict != Verdict::Passed) {
        const char* tag = tc.verdict == Verdict::Failed ? "failure" : "error";
        const char* type = errorType(tc.verdict);
        out += "      <";
        out += tag;
        appendAttribute(out, "message", tc.message);
        appendAttribute(out, "type", type);
        out += ">" + xmlEscape(tc.text, false) + "</" + tag + ">\n";
    }
    // CI servers look for attachment lines in the case's own system-out;
    // the traces there end with a line end.
    std::string systemOut = tc.traces;
    for (const std::string& path : tc.attachments)
        systemOut += "[[ATTACHMENT|" + path + "]]\n";
    if (!systemOut.empty())
        appendElement(out, "      ", "system-out", systemOut);
    out += "    </testcase>\n";
}

}  // namespace

std::string xmlEscape(const std::string& bytes, bool attribute)
{
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            if (const char* esc = asciiEscape(bytes[i], attribute))
                out += esc;
            else if (c < 0x20 && c != '\n' && c != '\t')
                appendHexByte(out, c);
            else
                out += bytes[i];
            ++i;
        } else if (size_t n = utf8Length(bytes, i)) {
            out.append(bytes, i, n);
            i += n;
        } else {
            appendHexByte(out, c);
            ++i;
        }
    }
    return out;
}

std::string junitDocument(const ScanResult& scan, const std::string& suiteName, Totals& totals)
{
    totals = Totals();
    for (const TestCase& tc : scan.cases) {
        ++totals.tests;
        totals.failures += tc.verdict == Verdict::Failed;
        totals.errors += tc.verdict != Verdict::Passed && tc.verdict != Verdict::Failed;
    }
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites";
    appendCount(out, "tests", totals.tests);
    appendCount(out, "failures", totals.failures);
    appendCount(out, "errors", totals.errors);
    out += ">\n  <testsuite";
    appendAttribute(out, "name", suiteName);
    appendCount(out, "tests", totals.tests);
    appendCount(out, "failures", totals.failures);
    appendCount(out, "errors", totals.errors);
    appendCount(out, "skipped", 0);
    out += ">\n";
    for (const TestCase& tc : scan.cases)
        appendCase(out, tc, suiteName);
    if (!scan.stray.empty())
        appendElement(out, "    ", "system-out", scan.stray);
    out += "  </testsuite>\n</testsuites>\n";
    return out;
}

}  // namespace zemjunit
