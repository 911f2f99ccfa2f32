#!/bin/sh
# Checks the XML that zem_add_script_test(... JUNIT) left: well-formed, and
# the given XPath expression has the given value.
# Usage: check_junit_file.sh XML_FILE EXPRESSION VALUE
[ -f "$1" ] || { echo "no XML at $1"; exit 1; }
xmllint --noout "$1" || exit 1
got=$(xmllint --xpath "$2" "$1" 2>&1)
[ "$got" = "$3" ] || { echo "$2: got '$got', expected '$3'"; cat "$1"; exit 1; }
