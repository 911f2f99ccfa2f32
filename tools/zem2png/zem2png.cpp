// zem2png: a drawing file as the PNG the viewer's pane would show, or two
// drawing files overlaid with their first difference marked.
//
//   zem2png [--size WxH] DRAWING.zdr OUT.png
//   zem2png [--size WxH] [--tolerance N] --diff EXPECTED.zdr ACTUAL.zdr OUT.png
//
// Exit status: 0 written (for --diff: the drawings agree), 1 the drawings
// differ (the difference line goes to standard output, the picture is
// written), 2 a wrong command line or a file that cannot be read or
// written. zem2png --help prints the usage and exits with 0.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "DrawingCompare.h"
#include "DrawingPng.h"
#include "DrawingText.h"

namespace {

const char kUsage[] = "usage: zem2png [--size WxH] DRAWING.zdr OUT.png\n"
                      "       zem2png [--size WxH] [--tolerance N] --diff EXPECTED.zdr ACTUAL.zdr OUT.png\n";
const char kHelp[] = "Renders a drawing file as ZemViewer shows it (default size 800x600). With --diff,\n"
                     "overlays expected (blue) and actual (red), boxes the first difference and prints it.\n"
                     "Exit status: 0 written and equal, 1 the drawings differ, 2 bad arguments or files.\n";

struct Options {
    int width = 800;
    int height = 600;
    int tolerance = 0;
    bool diff = false;
    std::vector<std::string> files;
};

// A whole decimal number of at most six digits within low..high.
bool parseNumber(const char* text, int low, int high, int& value)
{
    const std::size_t n = std::strlen(text);
    if (n == 0 || n > 6)
        return false;
    long v = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
    }
    value = static_cast<int>(v);
    return v >= low && v <= high;
}

bool parseSize(const char* text, Options& o)
{
    const char* x = std::strchr(text, 'x');
    if (!x)
        return false;
    const std::string width(text, static_cast<std::size_t>(x - text));
    return parseNumber(width.c_str(), 1, kDrawingMaxSide, o.width) &&
           parseNumber(x + 1, 1, kDrawingMaxSide, o.height);
}

int usageError(const char* what)
{
    std::fprintf(stderr, "zem2png: %s\n", what);
    std::fputs(kUsage, stderr);
    return 2;
}

// 0 when the options are good, else the exit status.
int parseOptions(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(a, "--diff") == 0)
            o.diff = true;
        else if (std::strcmp(a, "--size") == 0) {
            if (!hasValue || !parseSize(argv[++i], o))
                return usageError("--size needs WIDTHxHEIGHT, each 1..8192");
        } else if (std::strcmp(a, "--tolerance") == 0) {
            if (!hasValue || !parseNumber(argv[++i], 0, 100000, o.tolerance))
                return usageError("--tolerance needs a whole number 0..100000");
        } else if (a[0] == '-' && a[1] != '\0')
            return usageError("unknown option");
        else
            o.files.push_back(a);
    }
    if (o.files.size() != (o.diff ? 3u : 2u))
        return usageError(o.diff ? "--diff needs EXPECTED, ACTUAL and OUT" : "needs DRAWING and OUT");
    return 0;
}

int fail(const std::string& error)
{
    std::fprintf(stderr, "zem2png: %s\n", error.c_str());
    return 2;
}

int render(const Options& o)
{
    std::vector<DrawCommand> drawing;
    std::string error;
    if (!loadDrawingFile(o.files[0], drawing, error) ||
        !writeDrawingPng(drawing, o.width, o.height, o.files[1], error))
        return fail(error);
    return 0;
}

int diff(const Options& o)
{
    std::vector<DrawCommand> expected, actual;
    std::string error;
    if (!loadDrawingFile(o.files[0], expected, error) || !loadDrawingFile(o.files[1], actual, error))
        return fail(error);
    const DrawingDifference difference = compareDrawings(expected, actual, o.tolerance);
    const std::string line = differenceLine(o.files[0], difference);
    if (!writeDifferencePng(expected, actual, difference, line, o.width, o.height, o.files[2], error))
        return fail(error);
    std::printf("%s\n", line.c_str());
    return difference.same ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        std::fputs(kHelp, stdout);
        return 0;
    }
    Options options;
    if (const int status = parseOptions(argc, argv, options))
        return status;
    return options.diff ? diff(options) : render(options);
}
