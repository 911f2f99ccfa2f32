// Writing and reading drawing files. The reader walks each line with a
// cursor and names the first field it cannot take; it never reads past the
// line it was given.
#include "DrawingText.h"

#include "WholeFile.h"

#include <charconv>
#include <cstring>
#include <string_view>
#include <utility>

namespace {

const char kHeader[] = "# zem drawing\n";
const char* const kFontNames[] = {"tiny", "medium", "large"};
// Enough digits for every range a field has, few enough to never overflow.
const std::size_t kMaxDigits = 9;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool hasFlagWord(DrawCommand::Kind kind)
{
    return kind == DrawCommand::Rect || kind == DrawCommand::Arc || kind == DrawCommand::Poly;
}

void appendNumber(std::string& out, int value)
{
    char digits[16];
    const std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, value);
    out += ' ';
    out.append(digits, r.ptr);
}

void appendQuoted(std::string& out, const std::string& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    out += '"';
    for (const char c : text) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 32 || b > 126) {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        } else {
            out += c;
        }
    }
    out += '"';
}

// Writes the command as it is; one that is not well formed gives a line
// that the reader refuses, never a crash here.
void appendCommand(std::string& out, const DrawCommand& c)
{
    out += drawKindName(c.kind);
    const bool wordLast = hasFlagWord(c.kind) || c.kind == DrawCommand::Text;
    const std::size_t n = c.numbers.size();
    const std::size_t plain = wordLast && n > 0 ? n - 1 : n;
    for (std::size_t i = 0; i < plain; ++i)
        appendNumber(out, c.numbers[i]);
    if (hasFlagWord(c.kind) && n > 0 && c.numbers.back() != 0)
        out += " fill";
    if (c.kind == DrawCommand::Text) {
        if (n > 0) {
            const int font = c.numbers.back();
            out += ' ';
            out += kFontNames[font == 0 || font == 1 ? font : 2];
        }
        out += ' ';
        appendQuoted(out, c.text);
    }
    out += '\n';
}

// One line being read; the reasons it gives are "kind: what is wrong".
class LineReader {
public:
    LineReader(const char* begin, const char* end) : m_At(begin), m_End(end) {}

    bool atEnd()
    {
        skipBlanks();
        return m_At == m_End;
    }
    bool blankOrComment() { return atEnd() || *m_At == '#'; }

    std::string_view word()
    {
        skipBlanks();
        const char* start = m_At;
        while (m_At != m_End && !isBlank(*m_At))
            ++m_At;
        return std::string_view(start, static_cast<std::size_t>(m_At - start));
    }

    bool command(DrawCommand& c, std::string& why);

private:
    void skipBlanks()
    {
        while (m_At != m_End && isBlank(*m_At))
            ++m_At;
    }
    bool fail(const DrawCommand& c, const std::string& what, std::string& why)
    {
        why = std::string(drawKindName(c.kind)) + ": " + what;
        return false;
    }
    bool numbers(DrawCommand& c, std::size_t count, std::string& why);
    bool number(DrawCommand& c, std::string& why);
    bool fill(DrawCommand& c, std::string& why);
    bool font(DrawCommand& c, std::string& why);
    bool quoted(DrawCommand& c, std::string& why);
    bool escape(DrawCommand& c, std::string& why);
    bool end(DrawCommand& c, std::string& why) { return atEnd() || fail(c, "too many fields", why); }

    const char* m_At;
    const char* m_End;
};

bool kindOf(std::string_view keyword, DrawCommand::Kind& kind)
{
    for (int k = DrawCommand::Color; k <= DrawCommand::Text; ++k)
        if (keyword == drawKindName(static_cast<DrawCommand::Kind>(k))) {
            kind = static_cast<DrawCommand::Kind>(k);
            return true;
        }
    return false;
}

bool LineReader::command(DrawCommand& c, std::string& why)
{
    if (!kindOf(word(), c.kind)) {
        why = "unknown command (expected color, clear, point, line, rect, arc, poly or text)";
        return false;
    }
    switch (c.kind) {
    case DrawCommand::Rect: return numbers(c, 4, why) && fill(c, why) && end(c, why);
    case DrawCommand::Arc: return numbers(c, 6, why) && fill(c, why) && end(c, why);
    case DrawCommand::Poly:  // the count, once read, is in range and says how many follow
        return number(c, why) && numbers(c, 2 * static_cast<std::size_t>(c.numbers[0]), why) &&
               fill(c, why) && end(c, why);
    case DrawCommand::Text: return numbers(c, 2, why) && font(c, why) && quoted(c, why) && end(c, why);
    case DrawCommand::Point: return numbers(c, 2, why) && end(c, why);
    case DrawCommand::Line: return numbers(c, 4, why) && end(c, why);
    default: return numbers(c, 3, why) && end(c, why);
    }
}

bool LineReader::numbers(DrawCommand& c, std::size_t count, std::string& why)
{
    for (std::size_t i = 0; i < count; ++i)
        if (!number(c, why))
            return false;
    return true;
}

// Decimal digits led by at most one '-'. More than kMaxDigits digits are
// out of every range; refusing them before adding them up keeps the value
// from overflowing.
enum class Whole { Ok, NotWhole, TooLong };

Whole parseWhole(std::string_view w, long& value)
{
    const std::size_t sign = !w.empty() && w[0] == '-' ? 1 : 0;
    if (w.size() == sign)
        return Whole::NotWhole;
    for (std::size_t i = sign; i < w.size(); ++i)
        if (w[i] < '0' || w[i] > '9')
            return Whole::NotWhole;
    if (w.size() - sign > kMaxDigits)
        return Whole::TooLong;
    value = 0;
    for (std::size_t i = sign; i < w.size(); ++i)
        value = value * 10 + (w[i] - '0');
    value = sign ? -value : value;
    return Whole::Ok;
}

// The next field as the number the command's next index holds, checked
// against that field's range.
bool LineReader::number(DrawCommand& c, std::string& why)
{
    const std::size_t index = c.numbers.size();
    const std::string_view w = word();
    if (w.empty())
        return fail(c, drawFieldName(c, index) + " is missing", why);
    long value = 0;
    const Whole parsed = parseWhole(w, value);
    if (parsed == Whole::NotWhole)
        return fail(c, drawFieldName(c, index) + " is not a whole number", why);
    int low = 0, high = 0;
    drawFieldRange(drawFieldOf(c, index), low, high);
    if (parsed == Whole::TooLong || value < low || value > high)
        return fail(c,
                    drawFieldName(c, index) + " is out of range " + std::to_string(low) + ".." +
                        std::to_string(high),
                    why);
    c.numbers.push_back(static_cast<int>(value));
    return true;
}

bool LineReader::fill(DrawCommand& c, std::string& why)
{
    if (atEnd()) {
        c.numbers.push_back(0);
        return true;
    }
    if (word() != "fill")
        return fail(c, "expected fill or the end of the line", why);
    c.numbers.push_back(1);
    return true;
}

bool LineReader::font(DrawCommand& c, std::string& why)
{
    const std::string_view w = word();
    if (w.empty())
        return fail(c, "font is missing", why);
    for (int f = 0; f < 3; ++f)
        if (w == kFontNames[f]) {
            c.numbers.push_back(f);
            return true;
        }
    return fail(c, "font must be tiny, medium or large", why);
}

bool LineReader::quoted(DrawCommand& c, std::string& why)
{
    if (atEnd())
        return fail(c, "text is missing", why);
    if (*m_At != '"')
        return fail(c, "the text must be in double quotes", why);
    ++m_At;
    while (m_At != m_End && *m_At != '"') {
        const unsigned char b = static_cast<unsigned char>(*m_At);
        if (b == '\\') {
            if (!escape(c, why))
                return false;
            continue;
        }
        if (b < 32 || b == 127)
            return fail(c, "control byte in the text (write it as \\xHH)", why);
        c.text += *m_At++;
    }
    if (m_At == m_End)
        return fail(c, "the text has no closing quote", why);
    ++m_At;
    return !c.text.empty() || fail(c, "the text is empty", why);
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// At a backslash inside the quotes: takes the escape and the byte it means.
bool LineReader::escape(DrawCommand& c, std::string& why)
{
    const std::size_t left = static_cast<std::size_t>(m_End - m_At);
    if (left >= 2 && (m_At[1] == '"' || m_At[1] == '\\')) {
        c.text += m_At[1];
        m_At += 2;
        return true;
    }
    if (left >= 2 && m_At[1] == 'x') {
        const int high = left >= 4 ? hexValue(m_At[2]) : -1;
        const int low = left >= 4 ? hexValue(m_At[3]) : -1;
        if (high < 0 || low < 0)
            return fail(c, "\\x must be followed by two hex digits", why);
        if (high == 0 && low == 0)
            return fail(c, "the text holds a NUL byte", why);
        c.text += static_cast<char>(high * 16 + low);
        m_At += 4;
        return true;
    }
    return fail(c, "unknown escape (write \\\", \\\\ or \\xHH)", why);
}

}  // namespace

std::string drawingLine(const DrawCommand& command)
{
    std::string line;
    appendCommand(line, command);
    line.pop_back();
    return line;
}

std::string quotedDrawingText(const std::string& text)
{
    std::string quoted;
    appendQuoted(quoted, text);
    return quoted;
}

std::string drawingText(const std::vector<DrawCommand>& drawing)
{
    std::string out = kHeader;
    out.reserve(drawing.size() * 24 + out.size());
    for (const DrawCommand& c : drawing)
        appendCommand(out, c);
    return out;
}

bool readDrawingText(const std::string& bytes, const std::string& fileName, std::vector<DrawCommand>& out,
                     std::string& error)
{
    out.clear();
    std::vector<DrawCommand> drawing;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    for (std::size_t lineNo = 1; p < end; ++lineNo) {
        const char* const start = p;
        const char* newline =
            static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* lineEnd = newline ? newline : end;
        p = newline ? newline + 1 : end;
        if (lineEnd > start && lineEnd[-1] == '\r')
            --lineEnd;
        LineReader line(start, lineEnd);
        if (line.blankOrComment())
            continue;
        DrawCommand command;
        std::string why;
        if (!line.command(command, why)) {
            error = fileName + ":" + std::to_string(lineNo) + ": " + why;
            return false;
        }
        drawing.push_back(std::move(command));
    }
    out.swap(drawing);
    return true;
}

bool loadDrawingFile(const std::string& path, std::vector<DrawCommand>& out, std::string& error)
{
    out.clear();
    std::string bytes;
    return readWholeFile(path, bytes, error) && readDrawingText(bytes, path, out, error);
}

bool saveDrawingFile(const std::string& path, const std::vector<DrawCommand>& drawing, std::string& error)
{
    return replaceWholeFile(path, drawingText(drawing), error);
}

namespace {

std::string directoryOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string stemOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = base.rfind('.');
    return dot == std::string::npos || dot == 0 ? base : base.substr(0, dot);
}

}

std::string drawingBesideScript(const std::string& scriptPath, const std::string& pictureFile)
{
    if (!pictureFile.empty() && pictureFile[0] == '/')
        return pictureFile;
    return directoryOf(scriptPath) + pictureFile;
}

std::string drawingStemBesideResult(const std::string& resultFile, const std::string& pictureFile)
{
    return directoryOf(resultFile) + stemOf(pictureFile);
}
