// Plain, case-sensitive text search, and the splitter's divider corrected
// for the slider's own travel on the scale's width.
#include "TextSearch.h"

#include <cstring>

namespace {

// The window's default width, which the splitter's correction is made for.
const double kDefaultWidth = 800.0;
const int kMiddle = 500;
// Half the divider between the panes, and the edges the divider stops at.
const int kHalfGap = 10;
const int kLowest = 50;
const int kHighest = 950;

}

int findText(const char* text, const char* pattern, int from, int forward)
{
    int length = static_cast<int>(std::strlen(text));
    int size = static_cast<int>(std::strlen(pattern));
    if (size == 0 || size > length)
        return -1;
    int last = length - size;
    if (forward) {
        for (int i = from < 0 ? 0 : from; i <= last; ++i)
            if (std::memcmp(text + i, pattern, size) == 0)
                return i;
        return -1;
    }
    for (int i = from > last ? last : from; i >= 0; --i)
        if (std::memcmp(text + i, pattern, size) == 0)
            return i;
    return -1;
}

void splitterEdges(int value, int width, int* editorRight, int* logLeft)
{
    // A scale not yet laid out counts as the window's default width.
    double w = width > 0 ? width : kDefaultWidth;
    int shift = static_cast<int>((kDefaultWidth / w) * ((value - kMiddle) * 0.0625));
    int b = value - shift;
    if (b < kLowest) {
        // Only here do the panes overlap: the log pane keeps its margin.
        *editorRight = kLowest - kHalfGap;
        *logLeft = kHalfGap;
    } else if (b > kHighest) {
        *editorRight = kHighest - kHalfGap;
        *logLeft = kHighest + kHalfGap;
    } else {
        *editorRight = b - kHalfGap;
        *logLeft = b + kHalfGap;
    }
}
