// zem2junit: a result file as JUnit XML, for CI servers that show each test
// on its own line. The XML goes to standard output, one summary line to
// standard error. Usage: zem2junit RESULT-FILE [SCRIPT]
//
// Exit status: 0 when every test case passed, 1 when one failed, broke,
// did not run or the script had an error (or the result file could not be
// read), 2 for a wrong command line. The XML is written in every case but
// the last.
// A failing picture check's drawing is rendered as a PNG beside the result
// file and named in its testcase's system-out as an attachment; a picture
// that cannot be made leaves a note on standard error and nothing else.
// zem2junit --help prints the usage on standard output and exits with 0.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "JUnitXml.h"
#include "PictureAttach.h"
#include "ResultScan.h"

namespace {

const char kUsage[] = "usage: zem2junit RESULT-FILE [SCRIPT]\n";
const char kHelp[] = "The result file as JUnit XML on standard output, a summary on standard error.\n"
                     "The script, when given, names the suite, gives the tests' lines and the tests\n"
                     "that a run which died never reached. A failing picture check gets a PNG beside\n"
                     "the result file, attached to its test case.\n"
                     "Exit status: 0 all passed, 1 a failure or error, 2 a wrong command line.\n";

bool readFile(const char* path, std::string& bytes)
{
    std::FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.append(buf, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

// "dir/smoke.txt" gives "smoke": the suite and every test's class. A dot
// would read as a package separator on most CI servers.
std::string suiteName(const std::string& path)
{
    size_t slash = path.rfind('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = base.find('.');
    if (dot != std::string::npos && dot > 0)
        base.erase(dot);
    return base.empty() ? std::string("zem") : base;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (argc < 2 || argc > 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::vector<zemjunit::ScriptTest> tests;
    std::string script;
    if (argc == 3) {
        if (readFile(argv[2], script))
            tests = zemjunit::scriptTests(script);
        else
            std::fprintf(stderr, "zem2junit: cannot read the script %s\n", argv[2]);
    }
    std::string bytes;
    bool readable = readFile(argv[1], bytes);
    zemjunit::ScanResult scan = readable ? zemjunit::scanResult(bytes, tests) : zemjunit::ScanResult();
    if (!readable) {
        // A missing result file is what a CI server must see most: the run
        // wrote nothing, so it shows as an error of its own.
        zemjunit::TestCase tc;
        tc.name = "result file";
        tc.verdict = zemjunit::Verdict::ScriptError;
        tc.message = std::string("cannot read ") + argv[1];
        tc.text = tc.message + "\n";
        scan.cases.push_back(tc);
    }
    std::vector<std::string> notes;
    zemjunit::attachPictures(scan, argv[1], argc == 3 ? argv[2] : "", notes);
    zemjunit::Totals totals;
    std::string xml = zemjunit::junitDocument(scan, suiteName(argc == 3 ? argv[2] : argv[1]), totals);
    std::fwrite(xml.data(), 1, xml.size(), stdout);
    std::fflush(stdout);
    for (const std::string& note : notes)
        std::fprintf(stderr, "%s\n", note.c_str());
    std::fprintf(stderr,
                 "zem2junit: %d tests, %d failures, %d errors\n",
                 totals.tests,
                 totals.failures,
                 totals.errors);
    return totals.failures + totals.errors ? 1 : 0;
}
