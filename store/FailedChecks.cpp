// The failed checks of a run. Texts take heap blocks of their own size, so
// a run without failures costs no memory and one with many at most Kept
// texts.
#include "FailedChecks.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Failure {
    int line;
    char* text;
};

Failure g_kept[FailedChecks::Kept];
int g_count = 0;
int g_keptCount = 0;
int g_testLine = 0;

// "test: text" in a block of its own; null when the heap refuses it.
char* joined(const char* test, const char* text)
{
    char line[FailedChecks::TextSize];
    if (std::snprintf(line, sizeof line, "%s: %s", test, text) < 0)
        line[0] = '\0';
    std::size_t length = std::strlen(line);
    char* block = static_cast<char*>(std::malloc(length + 1));
    if (block)
        std::memcpy(block, line, length + 1);
    return block;
}

}

void FailedChecks::clear()
{
    for (int i = 0; i < g_keptCount; ++i)
        std::free(g_kept[i].text);
    g_keptCount = 0;
    g_count = 0;
}

void FailedChecks::setTestLine(int line) { g_testLine = line; }

int FailedChecks::testLine() { return g_testLine; }

int FailedChecks::add(const char* test, const char* text)
{
    ++g_count;
    if (g_keptCount == Kept)
        return 0;
    char* block = joined(test ? test : "", text ? text : "");
    if (!block)
        return 0;
    g_kept[g_keptCount++] = {g_testLine, block};
    return 1;
}

int FailedChecks::count() { return g_count; }

int FailedChecks::kept() { return g_keptCount; }

int FailedChecks::lineOf(int i) { return i >= 0 && i < g_keptCount ? g_kept[i].line : 0; }

const char* FailedChecks::textOf(int i) { return i >= 0 && i < g_keptCount ? g_kept[i].text : ""; }
