// Records of pane input as script text: each is a test call of the
// language, named after the event, with the event's values as inputs.
#include "InputRecord.h"

#include <cstdio>

#include "FileText.h"

namespace InputRecord {

const char* const kScript = "xin.txt";

std::string ongraphic() { return "ongraphic{}"; }

std::string button(int x, int y, unsigned xButton)
{
    char record[96];
    std::snprintf(
        record, sizeof record, "buttonpress{x=%d y=%d button=%d}", x, y, static_cast<int>(xButton) - 1);
    return record;
}

std::string key(int x, int y, const char* keyText)
{
    return "keypress{x=" + std::to_string(x) + " y=" + std::to_string(y) + " key=\"" + keyText + "\"}";
}

std::string position(int x, int y)
{
    char text[32];
    std::snprintf(text, sizeof text, "X=%04d Y=%04d", x, y);
    return text;
}

bool write(const std::string& record) { return FileText::write(kScript, record); }

}
