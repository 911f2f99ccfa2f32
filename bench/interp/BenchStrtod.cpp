// The anchor of the array-input benchmark: reads the script that holds the
// array, converts every number between the array's braces with strtod into
// a vector of doubles, and prints how many there were and their sum, which
// is all a program that only wants the numbers has to do.
//
//   zem_interp_bench_strtod FILE
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char** argv)
{
    std::FILE* in = argc == 2 ? std::fopen(argv[1], "rb") : nullptr;
    if (!in) {
        std::fprintf(stderr, "usage: zem_interp_bench_strtod FILE\n");
        return 2;
    }
    std::vector<char> text;
    char block[1 << 16];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, in)) > 0;)
        text.insert(text.end(), block, block + n);
    std::fclose(in);
    text.push_back('\0');
    const char* p = std::strstr(text.data(), "[] {");
    if (!p)
        return 1;
    p += 4;
    std::vector<double> values;
    for (char* end;; p = end) {
        double v = std::strtod(p, &end);
        if (end == p)
            break;
        values.push_back(v);
    }
    double sum = 0.0;
    for (double v : values)
        sum += v;
    std::printf("%zu %.17g\n", values.size(), sum);
    return 0;
}
