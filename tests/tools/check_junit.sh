#!/bin/sh
# Runs the tester on one script of junit/, turns the result file it wrote
# into XML with zem2junit, has xmllint parse it, and checks the XPath
# expressions of the case's .expect file: one "expression|value" a line,
# besides "exit|N" (zem2junit's exit status) and "summary|TEXT" (its
# standard error). A path is read as its string value. A .pre file is the result file before the run;
# a case without a script has no run and its .pre is given to zem2junit alone.
# Usage: check_junit.sh TESTER ZEM2JUNIT CASES_DIR NAME
tester=$1 zem2junit=$2 cases=$3 name=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
script=
[ -f "$cases/$name.txt" ] && cp "$cases/$name.txt" "$work/" && script=$name.txt
[ -f "$cases/$name.pre" ] && cp "$cases/$name.pre" "$work/result.txt"
cd "$work" || exit 1
[ -n "$script" ] && "$tester" "$script" > console.txt 2>&1
"$zem2junit" result.txt $script > out.xml 2> summary.txt
status=$?
if ! xmllint --noout out.xml; then
  echo "not well-formed XML:"; cat out.xml; exit 1
fi
fail=0
while IFS='|' read -r expr want; do
  case $expr in
    exit) got=$status ;;
    summary) got=$(cat summary.txt) ;;
    /*) got=$(xmllint --xpath "string($expr)" out.xml 2>&1) ;;
    *) got=$(xmllint --xpath "$expr" out.xml 2>&1) ;;
  esac
  if [ "$got" != "$want" ]; then
    echo "$expr: got '$got', expected '$want'"; fail=1
  fi
done < "$cases/$name.expect"
[ $fail = 0 ] || { echo "--- result.txt"; cat result.txt; echo "--- out.xml"; cat out.xml; }
exit $fail
