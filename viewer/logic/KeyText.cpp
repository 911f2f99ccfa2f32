// Key texts of the graphic pane: characters with names of their own, the
// cursor and editing keys by name, and everything else as itself or not at
// all.
#include "KeyText.h"

#include <X11/keysym.h>

namespace {

struct Named {
    int code;
    const char* text;
};

// Characters that would not read well inside the record's quotes.
const Named kCharacters[] = {
    {8, "backspace"},
    {9, "tab"},
    {13, "return"},
    {27, "esc"},
    {34, "apostrophe"},
    {127, "delete"},
};

// Keys that translate to no character.
const Named kKeys[] = {
    {XK_Up, "up"},
    {XK_Down, "down"},
    {XK_Right, "right"},
    {XK_Left, "left"},
    {XK_Prior, "pageup"},
    {XK_Next, "pagedown"},
    {XK_Begin, "begin"},
    {XK_Home, "home"},
    {XK_End, "end"},
    {XK_Insert, "insert"},
};

const char* lookUp(const Named* table, int count, long code)
{
    for (int i = 0; i < count; ++i)
        if (table[i].code == code)
            return table[i].text;
    return nullptr;
}

}

const char* keyTextOf(int first, unsigned long sym, char* single)
{
    first &= 0xFF;
    if (first == 0)
        return lookUp(kKeys, sizeof kKeys / sizeof kKeys[0], static_cast<long>(sym));
    // The grave accent and the characters past 127 make no record.
    if (first == '`' || first > 127)
        return nullptr;
    if (const char* named = lookUp(kCharacters, sizeof kCharacters / sizeof kCharacters[0], first))
        return named;
    single[0] = static_cast<char>(first);
    single[1] = '\0';
    return single;
}

bool isViewSwitchKey(unsigned long sym) { return sym == XK_F1; }
