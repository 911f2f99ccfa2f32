// Drawing files against pixels: comparing two equal drawings of 10,000
// commands command by command, next to a plain pixel diff of the same two
// drawings as 1000 x 1000 PNGs (both files decoded, then compared pixel by
// pixel), run alternately in the same process; and the time to render such
// a drawing to a PNG file, printed beside them.
#include "../common/BenchTiming.h"
#include "DrawingCompare.h"
#include "DrawingPng.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using zembench::median;

const int kCommands = 10000;
const int kSide = 1000;
const int kRounds = 21;
const int kRenderRounds = 5;

// A mixed drawing like a test's picture: every kind, all inside the pane.
std::vector<DrawCommand> makeDrawing()
{
    unsigned seed = 12345;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % unsigned(range));
    };
    std::vector<DrawCommand> drawing(kCommands);
    for (DrawCommand& c : drawing) {
        c.kind = static_cast<DrawCommand::Kind>(next(8));
        if (c.kind == DrawCommand::Clear)
            c.kind = DrawCommand::Color;
        auto at = [&next] { return next(kSide); };
        switch (c.kind) {
        case DrawCommand::Color: c.numbers = {next(256), next(256), next(256)}; break;
        case DrawCommand::Point: c.numbers = {at(), at()}; break;
        case DrawCommand::Line: c.numbers = {at(), at(), at(), at()}; break;
        case DrawCommand::Rect: c.numbers = {at(), at(), at(), at(), next(2)}; break;
        case DrawCommand::Arc: c.numbers = {at(), at(), at(), at(), next(36000), next(36000), next(2)}; break;
        case DrawCommand::Poly:
            c.numbers = {5, at(), at(), at(), at(), at(), at(), at(), at(), at(), at(), next(2)};
            break;
        default: c.numbers = {at(), at(), next(3)}, c.text = "bench 123";
        }
    }
    return drawing;
}

template <typename F>
double millis(F work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The pixel diff a user would run: decode both files, count the pixels
// that differ.
long pixelDiff(const std::string& a, const std::string& b)
{
    DrawingPixels pa, pb;
    std::string error;
    if (!readPngPixels(a, pa, error) || !readPngPixels(b, pb, error) || pa.width != pb.width ||
        pa.height != pb.height) {
        std::fprintf(stderr, "drawing bench: %s\n", error.c_str());
        std::exit(1);
    }
    long differ = 0;
    for (std::size_t i = 0; i < pa.rgb.size(); ++i)
        differ += pa.rgb[i] != pb.rgb[i];
    return differ;
}

}  // namespace

int main()
{
    char dir[] = "/tmp/zem_drawing_bench_XXXXXX";
    if (!mkdtemp(dir))
        return 1;
    const std::string a = std::string(dir) + "/a.png", b = std::string(dir) + "/b.png";
    const std::vector<DrawCommand> expected = makeDrawing();
    const std::vector<DrawCommand> actual = expected;
    std::string error;
    std::vector<double> compare, pixels, render;
    for (int round = 0; round < kRenderRounds; ++round)
        render.push_back(millis([&] {
            if (!writeDrawingPng(expected, kSide, kSide, a, error))
                std::fprintf(stderr, "drawing bench: %s\n", error.c_str()), std::exit(1);
        }));
    writeDrawingPng(actual, kSide, kSide, b, error);
    bool same = true;
    long differ = 0;
    for (int round = 0; round < kRounds; ++round) {
        compare.push_back(millis([&] { same = same && compareDrawings(expected, actual).same; }));
        pixels.push_back(millis([&] { differ += pixelDiff(a, b); }));
    }
    unlink(a.c_str()), unlink(b.c_str()), rmdir(dir);
    if (!same || differ != 0)
        std::fprintf(stderr, "drawing bench: the equal drawings did not compare equal\n");
    const double c = median(compare), p = median(pixels), r = median(render);
    std::printf("drawings of %d commands, %dx%d PNGs (medians of %d alternating rounds, render of %d)\n",
                kCommands,
                kSide,
                kSide,
                kRounds,
                kRenderRounds);
    std::printf("drawing compare, two equal drawings of 10,000 commands: %.4f ms vs pixel diff of the same "
                "two as 1000x1000 PNGs: %.2f ms, ratio %.4f (goal at most 1 ms)\n",
                c,
                p,
                c / p);
    std::printf("drawing render of 10,000 commands to a 1000x1000 PNG: %.2f ms vs pixel diff of the same "
                "two as 1000x1000 PNGs: %.2f ms, ratio %.3f (goal -)\n",
                r,
                p,
                r / p);
    return 0;
}
