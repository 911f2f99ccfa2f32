// Approving a run: the result file's failing checks, found again in the
// script through the interpreter's own lexer, and their literals replaced
// in place, from the last to the first, so that no other byte moves.
#include "Approve.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <map>
#include <unistd.h>

#include "PictureCheck.h"
#include "PictureReport.h"
#include "RealFormat.h"
#include "ScriptGrammar.hpp"
#include "ScriptTokens.h"
#include "TextLines.h"
#include "WholeFile.h"

namespace {

// ---- The result file: each block's failing checks.

struct Failure {
    std::string line;  // the report's line, without its indent
    std::string name;
    bool equality = false;
    bool picture = false;
    std::string file;    // a picture's drawing file
    std::string actual;  // as the report writes it; empty when undefined
    std::string type;    // "int", "double", "char*"
};

struct Block {
    std::string test;
    std::vector<Failure> failures;
};

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// "NAME OP EXPECTED[ +- T]; [TYPE NAME = ACTUAL] ERROR".
void readValueLine(Failure& f)
{
    size_t space = f.line.find(' ');
    f.name = f.line.substr(0, space);
    f.equality = f.line.compare(space, 4, " == ") == 0;
    for (const char* type : {"int", "double", "char*"}) {
        std::string marker = std::string("; [") + type + " " + f.name + " = ";
        size_t at = f.line.rfind(marker);
        if (at == std::string::npos || !endsWith(f.line, "] ERROR"))
            continue;
        size_t from = at + marker.size();
        f.type = type;
        f.actual = f.line.substr(from, f.line.size() - from - 7);
        return;
    }
}

Failure failureOf(const std::string& line)
{
    Failure f;
    f.line = line;
    FailedPictureLine picture;
    if (readFailedPicture(line, picture)) {
        f.picture = true;
        f.file = picture.file;
        return f;
    }
    readValueLine(f);
    return f;
}

std::vector<Block> blocksOf(const std::string& result)
{
    std::vector<std::string> lines = linesOf(result);
    std::vector<Block> blocks;
    bool verified = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (!l.empty() && l[0] != ' ' && i + 1 < lines.size() && lines[i + 1] == "{") {
            blocks.push_back(Block{l, {}});
            verified = false;
        } else if (l == "  verified:") {
            verified = true;
        } else if (l == "  logged:" || (!l.empty() && l[0] == '}')) {
            verified = false;
        } else if (verified && !blocks.empty() && l.compare(0, 4, "    ") == 0 && endsWith(l, " ERROR")) {
            blocks.back().failures.push_back(failureOf(l.substr(4)));
        }
    }
    return blocks;
}

// ---- The script: each test's literals of checks by the report's names.

using Token = ScriptToken;

struct Checks {
    std::string test;
    std::map<std::string, Token> literals;
};

bool isLiteral(int kind) { return kind == TK_INTEGER || kind == TK_REAL || kind == TK_STRING; }

class Scanner {
public:
    Scanner(const std::vector<Token>& t, const std::string& text) : m_T(t), m_Text(text) {}

    std::vector<Checks> tests()
    {
        std::vector<Checks> all;
        while (m_I < m_T.size()) {
            if (kind() == TK_EXTERN) {
                m_I += 1;
                skipName();
                skipBraces();
            } else if (kind() == TK_NAME) {
                std::string name = qname();
                if (kind() == TK_LBRACE) {
                    all.push_back(Checks{name, {}});
                    body(all.back());
                }
            } else if (kind() == TK_LBRACE) {
                skipBraces();
            } else {
                ++m_I;
            }
        }
        return all;
    }

private:
    int kind() const { return m_I < m_T.size() ? m_T[m_I].kind : 0; }
    std::string text(const Token& t) const { return m_Text.substr(t.offset, t.length); }

    std::string qname()
    {
        std::string name = text(m_T[m_I++]);
        while (kind() == TK_DOT && m_I + 1 < m_T.size() && m_T[m_I + 1].kind == TK_NAME) {
            name += "." + text(m_T[m_I + 1]);
            m_I += 2;
        }
        return name;
    }
    void skipName()
    {
        if (kind() == TK_NAME)
            qname();
    }
    // From a "{" past its matching "}".
    void skipBraces()
    {
        int depth = 0;
        do {
            if (kind() == TK_LBRACE)
                ++depth;
            else if (kind() == TK_RBRACE)
                --depth;
            ++m_I;
        } while (m_I < m_T.size() && depth > 0);
    }
    // A value after an operator: a literal, or something approve leaves.
    void value(Checks& c, const std::string& name, bool record)
    {
        if (isLiteral(kind())) {
            if (record)
                c.literals[name] = m_T[m_I];
            ++m_I;
        } else if (kind() == TK_LPAREN) {
            int depth = 0;
            do {
                depth += kind() == TK_LPAREN ? 1 : kind() == TK_RPAREN ? -1 : 0;
                ++m_I;
            } while (m_I < m_T.size() && depth > 0);
        }
    }
    void array(Checks& c, const std::string& name, bool record)
    {
        if (kind() != TK_LBRACE)
            return;
        ++m_I;
        for (int item = 0; m_I < m_T.size() && kind() != TK_RBRACE; ++item) {
            std::string itemName = name + "[" + std::to_string(item) + "]";
            if (kind() == TK_LBRACE && m_I + 2 < m_T.size() && isLiteral(m_T[m_I + 1].kind) &&
                m_T[m_I + 2].kind == TK_RBRACE) {
                ++m_I;
                value(c, itemName, record);
                ++m_I;
            } else if (kind() == TK_LBRACE) {
                skipBraces();
            } else if (isLiteral(kind()) || kind() == TK_LPAREN) {
                value(c, itemName, record);
            } else {
                ++m_I;
            }
        }
        ++m_I;
    }
    void statement(Checks& c, const std::string& prefix, bool verify, std::vector<std::string>& prefixes)
    {
        std::string name = prefix + qname();
        int op = kind();
        if (op == TK_LBRACE) {
            prefixes.push_back(name + ".");
            ++m_I;
        } else if (op == TK_ARRAY) {
            ++m_I;
            array(c, name, verify);
        } else if (op == TK_ASSIGN || op == TK_EQ) {
            ++m_I;
            value(c, name, verify);
        } else if (op == TK_NE || op == TK_GT || op == TK_LT || op == TK_GE || op == TK_LE) {
            ++m_I;
            value(c, name, false);
        } else {
            ++m_I;
        }
    }
    void body(Checks& c)
    {
        ++m_I;
        bool verify = false;
        std::vector<std::string> prefixes{""};
        while (m_I < m_T.size()) {
            int k = kind();
            if (k == TK_RBRACE) {
                ++m_I;
                if (prefixes.size() == 1)
                    return;
                prefixes.pop_back();
            } else if (k == TK_VERIFY) {
                verify = true;
                ++m_I;
            } else if (k == TK_NAME) {
                statement(c, prefixes.back(), verify, prefixes);
            } else if (k == TK_NEAR) {
                m_I += 2;
            } else {
                ++m_I;
            }
        }
    }

    const std::vector<Token>& m_T;
    const std::string& m_Text;
    size_t m_I = 0;
};

// ---- Rewriting.

// A double must stay a real in the script: "2" would read as an integer.
std::string literalOf(const Failure& f)
{
    if (f.type != "double")
        return f.actual;
    // "2.500000" from a six-decimal report is written as 2.5: the same value.
    char text[RealFormat::TextSize];
    RealFormat::shortest(text, std::strtod(f.actual.c_str(), nullptr));
    std::string literal = text;
    if (literal.find_first_of(".eEni") == std::string::npos)
        literal += ".0";
    return literal;
}

struct Replacement {
    int offset;
    int length;
    std::string text;
};

void approveBlock(const Block& b, const Checks* checks, const std::string& scriptPath,
                  const std::string& resultPath, Approval& out, std::vector<Replacement>& edits)
{
    for (const Failure& f : b.failures) {
        if (f.picture) {
            std::string actual = PictureCheck::actualPath(resultPath, f.file);
            out.failingPictures.push_back(
                PictureToApprove{f.file, PictureCheck::beside(scriptPath, f.file), actual, f.line});
            if (access(actual.c_str(), R_OK) == 0) {
                out.pictures.emplace_back(actual, PictureCheck::beside(scriptPath, f.file));
                continue;
            }
        }
        auto found = checks ? checks->literals.find(f.name) : std::map<std::string, Token>::const_iterator();
        if (f.picture || !f.equality || f.actual.empty() || !checks || found == checks->literals.end()) {
            out.leftAlone.push_back(b.test + ": " + f.line);
            continue;
        }
        edits.push_back(Replacement{found->second.offset, found->second.length, literalOf(f)});
    }
}

}

Approval approveScript(const std::string& scriptText, const std::string& scriptPath,
                       const std::string& resultText, const std::string& resultPath)
{
    Approval out;
    out.script = scriptText;
    std::vector<Token> tokens = scriptTokensOfText(scriptText);
    std::vector<Checks> tests = Scanner(tokens, scriptText).tests();
    std::vector<Replacement> edits;
    size_t next = 0;
    for (const Block& b : blocksOf(resultText)) {
        const Checks* checks = nullptr;
        for (size_t i = next; i < tests.size() && !checks; ++i)
            if (tests[i].test == b.test) {
                checks = &tests[i];
                next = i + 1;
            }
        approveBlock(b, checks, scriptPath, resultPath, out, edits);
    }
    std::sort(edits.begin(), edits.end(), [](const Replacement& a, const Replacement& b) {
        return a.offset > b.offset;
    });
    for (const Replacement& e : edits) {
        if (e.offset < 0 || static_cast<size_t>(e.offset + e.length) > out.script.size())
            continue;
        if (out.script.compare(e.offset, e.length, e.text) == 0)
            continue;
        out.script.replace(e.offset, e.length, e.text);
        ++out.valuesChanged;
    }
    return out;
}

std::string resultFileOf(const std::string& scriptPath)
{
    std::string text, error;
    std::vector<Token> tokens;
    if (!readWholeFile(scriptPath, text, error) || !scriptTokens(scriptPath, tokens))
        return "";
    for (size_t i = 0; i + 1 < tokens.size(); ++i)
        if (tokens[i].kind == TK_RESULTFILE && tokens[i + 1].kind == TK_STRING && tokens[i + 1].length >= 2)
            return text.substr(tokens[i + 1].offset + 1, tokens[i + 1].length - 2);
    return "";
}

std::string lineDiff(const std::string& before, const std::string& after, const std::string& name)
{
    std::vector<std::string> a = linesOf(before), b = linesOf(after);
    if (a.size() != b.size() || before == after)
        return "";
    std::string diff = "--- " + name + "\n+++ " + name + " (approved)\n";
    const size_t context = 3;
    size_t i = 0;
    while (i < a.size()) {
        if (a[i] == b[i]) {
            ++i;
            continue;
        }
        size_t start = i > context ? i - context : 0;
        size_t end = i;
        // A hunk runs on while changes follow within twice the context.
        for (size_t j = i; j < a.size() && j <= end + 2 * context; ++j)
            if (a[j] != b[j])
                end = j;
        size_t stop = std::min(a.size(), end + context + 1);
        char head[64];
        std::snprintf(
            head, sizeof head, "@@ -%zu,%zu +%zu,%zu @@\n", start + 1, stop - start, start + 1, stop - start);
        diff += head;
        for (size_t j = start; j < stop; ++j)
            diff += a[j] == b[j] ? " " + a[j] + "\n" : "-" + a[j] + "\n+" + b[j] + "\n";
        i = stop;
    }
    return diff;
}
