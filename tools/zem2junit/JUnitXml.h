// Writing test cases as JUnit XML. No XML library: the escaping is ours, and
// it turns every byte that XML 1.0 cannot carry into visible text.
#ifndef ZEM_JUNITXML_H
#define ZEM_JUNITXML_H

#include <string>

#include "ResultScan.h"

namespace zemjunit {

struct Totals {
    int tests = 0;
    int failures = 0;
    int errors = 0;
};

// Escapes bytes for XML 1.0 character data (attribute true: for a quoted
// attribute value, where line ends and tabs are kept as references).
// Well-formed UTF-8 of allowed characters passes unchanged; any other byte
// becomes the text "\xNN".
std::string xmlEscape(const std::string& bytes, bool attribute);

// The whole document for one suite named suiteName; fills totals.
std::string junitDocument(const ScanResult& scan, const std::string& suiteName, Totals& totals);

}  // namespace zemjunit

#endif
