// Hands outputs written as "(name)" back to the script: after each test the
// output bank's parenthesised entries become definitions.
#include "Parse.h"

#include "StoreCv.h"
#include "VarBank.h"

#include <cstring>

namespace {

// Moves the first ")" after the opening one to the end, in place, so that
// (r).x becomes (r.x). Returns 1 when the name changed.
int closeAtEnd(char* name)
{
    std::size_t n = std::strlen(name);
    const char* close = std::strchr(name + 1, ')');
    std::size_t i = close ? static_cast<std::size_t>(close - name) : n;
    if (i + 1 >= n)
        return 0;
    std::memmove(name + i, name + i + 1, n - i - 1);
    name[n - 1] = ')';
    return 1;
}

// Stores el's value under its name without the parentheses.
void define(VarBank& defs, const StoreEl* el)
{
    const char* name = el->getName();
    std::size_t n = std::strlen(name);
    if (n < 2 || name[n - 1] != ')')
        return;
    char var[StoreCv::NameSize];
    std::size_t len = n - 2 < static_cast<std::size_t>(StoreCv::MaxName)
                          ? n - 2
                          : static_cast<std::size_t>(StoreCv::MaxName);
    std::memcpy(var, name + 1, len);
    var[len] = '\0';
    if (el->hasKnownType())
        defs[var] = *el;
}

}  // namespace

void Parse::exportOutputs(VarBank& defs)
{
    VarBank& out = getOutStore();
    int renamed = 0;
    for (StoreEl* el = out.getData(nullptr); el; el = el->getNext()) {
        if (el->getName()[0] != '(')
            continue;
        renamed |= closeAtEnd(el->getName());
        define(defs, el);
    }
    // Renamed elements sit in the index under their old names.
    if (renamed)
        out.reindex();
}
