// Times two commands as whole processes, run alternately so that the
// machine's drifts touch both alike, and prints their medians in
// microseconds, then the medians of their peak resident memory in
// kilobytes: "MEDIAN_A MEDIAN_B PEAK_A PEAK_B". A command is its words separated by
// spaces; a last word ">FILE" sends its standard output to FILE (else to
// /dev/null). A run that exits with a status other than 0 is reported on
// standard error with its status.
//
//   zem_interp_bench_run RUNS "COMMAND A" "COMMAND B"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

struct Command {
    std::vector<std::string> words;
    std::string output = "/dev/null";
};

Command commandOf(const char* line)
{
    Command c;
    std::string word;
    for (const char* p = line;; ++p) {
        if (*p && *p != ' ') {
            word += *p;
            continue;
        }
        if (!word.empty())
            c.words.push_back(word);
        word.clear();
        if (!*p)
            break;
    }
    if (!c.words.empty() && c.words.back()[0] == '>') {
        c.output = c.words.back().substr(1);
        c.words.pop_back();
    }
    return c;
}

long nowUs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000L + t.tv_nsec / 1000;
}

void execute(const Command& c)
{
    int out = open(c.output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int null = open("/dev/null", O_WRONLY);
    if (out < 0 || null < 0)
        _exit(126);
    dup2(out, 1);
    dup2(null, 2);
    std::vector<char*> argv;
    for (const std::string& w : c.words)
        argv.push_back(const_cast<char*>(w.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

// The peak memory comes from the kernel's account of the child alone.
long timeOnce(const Command& c, long* peakKb)
{
    long start = nowUs();
    pid_t pid = fork();
    if (pid == 0)
        execute(c);
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) < 0)
        return -1;
    *peakKb = usage.ru_maxrss;
    long elapsed = nowUs() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "%s: status %d\n", c.words[0].c_str(), status);
    return elapsed;
}

long median(std::vector<long> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: zem_interp_bench_run RUNS \"COMMAND A\" \"COMMAND B\"\n");
        return 2;
    }
    int runs = std::atoi(argv[1]);
    Command a = commandOf(argv[2]);
    Command b = commandOf(argv[3]);
    std::vector<long> ta, tb, ma, mb;
    for (int i = 0; i < runs; ++i) {
        long peak = 0;
        ta.push_back(timeOnce(a, &peak));
        ma.push_back(peak);
        tb.push_back(timeOnce(b, &peak));
        mb.push_back(peak);
    }
    std::printf("%ld %ld %ld %ld\n", median(ta), median(tb), median(ma), median(mb));
    return 0;
}
