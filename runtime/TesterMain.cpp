// ZemTester's entry: command line, local mode, and the fatal-signal handler.
// Server mode lives in TesterServer.cpp; both share brktrace. The command
// line of old (a script, "-p port", "-v") keeps its exact meaning; the long
// options are new, and each was a usage error before.
#include "Tester.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "Approve.h"
#include "ExitStatus.h"
#include "FatalSignal.h"
#include "GrcBase.h"
#include "Parse.h"
#include "ParseOut.h"
#include "RealFormat.h"
#include "RealFormat.h"
#include "ScriptTests.h"
#include "TesterServer.h"
#include "TimeLimit.h"
#include "VarBank.h"
#include "WholeFile.h"
#include "ZemCall.h"

int rsock = -1;

namespace {

// What the command line asks for.
struct Options {
    const char* script = nullptr;
    const char* port = nullptr;
    const char* test = nullptr;
    double timeLimit = 0.0;
    bool fullPrecision = false;
    bool list = false;
    bool help = false;
    bool approve = false;
};

int usage()
{
    std::printf("usage: ZemTester testscript\n");
    std::printf("       ZemTester -p  portId\n");
    std::printf("       ZemTester -v\n");
    return -1;
}

const char* const kHelp = "usage: ZemTester testscript\n"
                          "       ZemTester -p  portId\n"
                          "       ZemTester -v\n"
                          "       ZemTester --list testscript\n"
                          "       ZemTester [--time-limit seconds] [--precision full|six]\n"
                          "                 [--test name[:line]] testscript\n"
                          "       ZemTester [--time-limit seconds] [--precision full|six] -p portId\n"
                          "\n"
                          "  testscript               run every test of the script; each report is\n"
                          "                           appended to the script's result file\n"
                          "  -p portId                serve ZemViewer over TCP on portId\n"
                          "  -v                       print the version\n"
                          "  --list                   print each test: its name, its line and the\n"
                          "                           command that runs it alone; nothing runs\n"
                          "  --test name[:line]       run only the first test of that name (on that\n"
                          "                           line)\n"
                          "  --time-limit seconds     end a test function that runs longer, like a\n"
                          "                           crash, with the reason \"time limit\"\n"
                          "  --precision full         write every real of the reports and traces\n"
                          "                           with the fewest digits that read back as the\n"
                          "                           same double (six: six decimals, the default)\n"
                          "  --approve                run the script (or one test), then give each\n"
                          "                           failing == check the actual value and each\n"
                          "                           failing picture check the actual drawing;\n"
                          "                           prints the script's diff\n"
                          "  --help                   print this text\n"
                          "\n"
                          "exit status: 0 every check passed; 1-251 the line of a script error;\n"
                          "252 failed verifications; 253 no result file; 254 unreadable script;\n"
                          "7, 8, 11 a bus error, floating point error or segm violation in a test\n"
                          "function; 14 a test past its time limit; 255 a usage error.\n";

// A diagnostic of the new options, then the usage lines of old.
int usageError(const char* what, const char* arg)
{
    std::fprintf(stderr, "ZemTester: %s%s\n", what, arg ? arg : "");
    return usage();
}

bool takeValue(int argc, char** argv, int& i, const char*& value)
{
    if (i + 1 >= argc)
        return false;
    value = argv[++i];
    return true;
}

bool precision(const char* text, bool& full)
{
    full = std::strcmp(text, "full") == 0;
    return full || std::strcmp(text, "six") == 0;
}

bool seconds(const char* text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && value > 0 && value < 1e9;
}

// Long options first, then a script or "-p port". 0 when understood, else
// the usage error's status.
int parseLong(int argc, char** argv, Options& o)
{
    int i = 1;
    for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
        const char* a = argv[i];
        const char* value = nullptr;
        if (std::strcmp(a, "--help") == 0) {
            o.help = true;
        } else if (std::strcmp(a, "--list") == 0) {
            o.list = true;
        } else if (std::strcmp(a, "--approve") == 0) {
            o.approve = true;
        } else if (std::strcmp(a, "--test") == 0) {
            if (!takeValue(argc, argv, i, o.test))
                return usageError("--test needs a test name", nullptr);
        } else if (std::strcmp(a, "--time-limit") == 0) {
            if (!takeValue(argc, argv, i, value) || !seconds(value, o.timeLimit))
                return usageError("--time-limit needs a number of seconds above 0: ", value);
        } else if (std::strcmp(a, "--precision") == 0) {
            if (!takeValue(argc, argv, i, value) || !precision(value, o.fullPrecision))
                return usageError("--precision needs full or six: ", value);
        } else {
            return usageError("unknown option ", a);
        }
    }
    if (o.help)
        return i == argc ? 0 : usageError("--help takes nothing else", nullptr);
    if (o.approve && i + 2 == argc && !o.test) {
        o.script = argv[i];
        o.test = argv[i + 1];
        return 0;
    }
    if (i + 2 == argc && std::strcmp(argv[i], "-p") == 0 && !o.list && !o.test && !o.approve)
        o.port = argv[i + 1];
    else if (i + 1 == argc && std::strcmp(argv[i], "-p") != 0)
        o.script = argv[i];
    else
        return usageError("expected one script (or -p portId) after the options", nullptr);
    if (o.list && (o.test || o.timeLimit > 0))
        return usageError("--list takes only the script", nullptr);
    return 0;
}

int runLocal(const char* script, const char* selector)
{
    ParseOut::setTraceDepth(ParseOut::NoDepthLimit);
    ParseOut::setTraceRoot("");
    int r = Parse::parseLoop(script, selector, TimeLimit::start);
    printVerdict(r, script);
    return r;
}

int listTests(const char* program, const char* script)
{
    std::vector<ScriptTest> tests;
    if (!listScriptTests(script, tests)) {
        std::printf("invalid input file: %s\n", script);
        return -2;
    }
    size_t width = 0;
    for (const ScriptTest& t : tests)
        width = t.name.size() > width ? t.name.size() : width;
    for (const ScriptTest& t : tests)
        std::printf("%-*s  line %-5d  %s --test %s:%d %s\n",
                    static_cast<int>(width),
                    t.name.c_str(),
                    t.line,
                    program,
                    t.name.c_str(),
                    t.line,
                    script);
    return 0;
}

// The selector of the test --test names; false (with a word on stderr)
// when the script has no such test.
bool selectTest(const char* script, const char* choice, std::string& selector)
{
    std::vector<ScriptTest> tests;
    if (!listScriptTests(script, tests)) {
        selector.clear();
        return true;  // the run says that the script is unreadable
    }
    const ScriptTest* test = pickTest(tests, choice);
    if (!test) {
        std::fprintf(stderr, "ZemTester: no test %s in %s\n", choice, script);
        return false;
    }
    selector = selectorOf(*test);
    return true;
}

// The result file's identity and length before a run: the run's blocks
// are what it appends. A file deleted and made anew is read whole.
struct FileMark {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
};

FileMark markOf(const std::string& path)
{
    FileMark m;
    struct stat info;
    if (!path.empty() && stat(path.c_str(), &info) == 0) {
        m.exists = true;
        m.device = info.st_dev;
        m.inode = info.st_ino;
        m.size = info.st_size;
    }
    return m;
}

std::string appendedSince(const std::string& path, const FileMark& before)
{
    std::string bytes, error;
    if (!readWholeFile(path, bytes, error))
        return "";
    FileMark now = markOf(path);
    bool same =
        before.exists && now.device == before.device && now.inode == before.inode && now.size >= before.size;
    return same ? bytes.substr(static_cast<size_t>(before.size)) : bytes;
}

// Writes the approved script and the accepted drawings; false when a
// write failed (the script then keeps its old bytes).
bool writeApproval(const char* script, const Approval& a)
{
    std::string error;
    if (a.valuesChanged && !replaceWholeFile(script, a.script, error)) {
        std::fprintf(stderr, "ZemTester: approve: %s\n", error.c_str());
        return false;
    }
    for (const auto& picture : a.pictures) {
        std::string bytes;
        if (!readWholeFile(picture.first, bytes, error) || !replaceWholeFile(picture.second, bytes, error)) {
            std::fprintf(stderr, "ZemTester: approve: %s\n", error.c_str());
            return false;
        }
        std::printf("picture written: %s\n", picture.second.c_str());
    }
    return true;
}

// --approve: runs the script with round-trip digits, then gives its failing
// "==" checks their actual values and its failing pictures their actual
// drawings. A run that ends in a script error, or a script that changed
// while it ran, changes nothing; a crash ends the process before anything
// is written.
int runApprove(const char* script, const char* selector)
{
    std::string before, error;
    if (!readWholeFile(script, before, error)) {
        std::printf("invalid input file: %s\n", script);
        return zemExitStatus(-2);
    }
    std::string resultFile = resultFileOf(script);
    FileMark mark = markOf(resultFile);
    RealFormat::setDefault(true);
    int r = runLocal(script, selector);
    if (r > 0 || r == -1 || r == -2 || r == -3) {
        std::fprintf(stderr, "ZemTester: approve: the run did not end cleanly; nothing written\n");
        return zemExitStatus(r);
    }
    std::string after;
    if (!readWholeFile(script, after, error) || after != before) {
        std::fprintf(stderr, "ZemTester: approve: %s changed while it ran; nothing written\n", script);
        return -1;
    }
    std::string result = Parse::getLastOutFile();
    Approval a = approveScript(before, script, appendedSince(result, mark), result);
    if (!writeApproval(script, a))
        return -1;
    std::fputs(lineDiff(before, a.script, script).c_str(), stdout);
    for (const std::string& left : a.leftAlone)
        std::printf("left alone: %s\n", left.c_str());
    std::printf("approved %d values and %zu pictures\n", a.valuesChanged, a.pictures.size());
    return 0;
}

// One line on stderr for the console: which test broke and why. Written
// with write(2) alone, from the signal handler.
void tellBroken(const char* reason)
{
    const char* test = Parse::getVerStore().getName();
    char line[700];
    int n =
        std::snprintf(line, sizeof line, "ZemTester: %s: BROKEN (%s)\n", test, reason ? reason : "signal");
    if (n > 0)
        write(2, line, static_cast<size_t>(n < static_cast<int>(sizeof line) ? n : sizeof line - 1));
}

// Only the options this tester knows start the new command line: any other
// argument is a script's name, as it always was.
bool isLongOption(const char* arg)
{
    for (const char* known : {"--help", "--list", "--test", "--time-limit", "--precision", "--approve"})
        if (std::strcmp(arg, known) == 0)
            return true;
    return false;
}

int runOptions(const char* program, const Options& o)
{
    if (o.help) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (o.list)
        return listTests(program, o.script);
    TimeLimit::set(o.timeLimit);
    RealFormat::setDefault(o.fullPrecision);
    installFatalSignals(brktrace);
    if (o.timeLimit > 0)
        installFatalSignal(SIGALRM, brktrace);
    if (o.port)
        return serveForever(std::atoi(o.port));
    std::string selector;
    if (o.test && !selectTest(o.script, o.test, selector))
        return -1;
    if (o.approve)
        return runApprove(o.script, selector.c_str());
    return zemExitStatus(runLocal(o.script, selector.c_str()));
}

}

void brktrace(int sig)
{
    if (!enterFatal())
        _exit(sig);
    const char* reason = fatalReason(sig);
    ParseOut::brkTraceExec(reason);
    tellBroken(reason);
    if (GrcBase::m_Exec == 1)
        finalize(0);
    std::fflush(nullptr);
    // The interrupted code may have left any state behind: skip destructors.
    _exit(sig);
}

int zemloop(int argc, char** argv, int)
{
    if (argc == 2 && (std::strcmp(argv[1], "-v") == 0 || std::strcmp(argv[1], "-V") == 0)) {
        std::printf("ZemTester vers. 1.56B\n");
        return -1;
    }
    if (argc >= 2 && isLongOption(argv[1])) {
        Options options;
        int bad = parseLong(argc, argv, options);
        return bad ? bad : runOptions(argv[0], options);
    }
    if (argc == 2) {
        installFatalSignals(brktrace);
        return zemExitStatus(runLocal(argv[1], ""));
    }
    if (argc == 3 && std::strcmp(argv[1], "-p") == 0) {
        installFatalSignals(brktrace);
        return serveForever(std::atoi(argv[2]));
    }
    return usage();
}
