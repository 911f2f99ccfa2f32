// zem_xshot WINDOW OUT.png: saves what a window shows (read back with
// XGetImage) as a PNG, so that a person can look at what a user sees.
// The PNG is written uncompressed (stored deflate blocks): no image library.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

unsigned long crcTable[256];

void makeCrcTable()
{
    for (unsigned long n = 0; n < 256; ++n) {
        unsigned long c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xedb88320UL ^ (c >> 1) : c >> 1;
        crcTable[n] = c;
    }
}

unsigned long crcOf(const unsigned char* data, size_t length, unsigned long crc = 0xffffffffUL)
{
    for (size_t i = 0; i < length; ++i)
        crc = crcTable[(crc ^ data[i]) & 0xff] ^ (crc >> 8);
    return crc;
}

void put32(std::vector<unsigned char>& out, unsigned long value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>((value >> shift) & 0xff));
}

void writeChunk(FILE* file, const char* type, const std::vector<unsigned char>& data)
{
    std::vector<unsigned char> chunk(type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    std::vector<unsigned char> length;
    put32(length, data.size());
    std::vector<unsigned char> crc;
    put32(crc, crcOf(chunk.data(), chunk.size()) ^ 0xffffffffUL);
    std::fwrite(length.data(), 1, 4, file);
    std::fwrite(chunk.data(), 1, chunk.size(), file);
    std::fwrite(crc.data(), 1, 4, file);
}

// A zlib stream of stored blocks of at most 65535 bytes.
std::vector<unsigned char> storedZlib(const std::vector<unsigned char>& raw)
{
    std::vector<unsigned char> out = {0x78, 0x01};
    size_t at = 0;
    do {
        size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
        out.push_back(at + n == raw.size() ? 1 : 0);
        out.push_back(n & 0xff);
        out.push_back((n >> 8) & 0xff);
        out.push_back(~n & 0xff);
        out.push_back((~n >> 8) & 0xff);
        out.insert(out.end(), raw.begin() + at, raw.begin() + at + n);
        at += n;
    } while (at < raw.size());
    unsigned long a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    put32(out, (b << 16) | a);
    return out;
}

// Rows of filter byte 0 and RGB triples, from a TrueColor image.
std::vector<unsigned char> rgbRows(XImage* image)
{
    std::vector<unsigned char> raw;
    for (int y = 0; y < image->height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < image->width; ++x) {
            unsigned long p = XGetPixel(image, x, y);
            raw.push_back((p & image->red_mask) >> 16);
            raw.push_back((p & image->green_mask) >> 8);
            raw.push_back(p & image->blue_mask);
        }
    }
    return raw;
}

}

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: zem_xshot WINDOW OUT.png\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    Window window = std::strtoul(argv[1], nullptr, 0);
    XWindowAttributes attr;
    if (!XGetWindowAttributes(display, window, &attr))
        return 1;
    XImage* image = XGetImage(display, window, 0, 0, attr.width, attr.height, AllPlanes, ZPixmap);
    FILE* file = image ? std::fopen(argv[2], "wb") : nullptr;
    if (!file)
        return 1;
    makeCrcTable();
    std::fwrite("\x89PNG\r\n\x1a\n", 1, 8, file);
    std::vector<unsigned char> header;
    put32(header, attr.width);
    put32(header, attr.height);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    writeChunk(file, "IHDR", header);
    writeChunk(file, "IDAT", storedZlib(rgbRows(image)));
    writeChunk(file, "IEND", {});
    std::fclose(file);
    XDestroyImage(image);
    XCloseDisplay(display);
    return 0;
}
