#!/bin/sh
# Runs the tester on one script of junit/, turns the result file it wrote
# into XML with zem2junit, has xmllint parse it, and checks the XPath
# expressions of the case's .expect file: one "expression|value" a line,
# besides "exit|N" (zem2junit's exit status), "summary|TEXT" (its
# standard error), "notes|TEXT" (standard error but its last line, lines
# joined by " / ") and "png FILE|W H" (the PNG's size, "none" without
# the file). A path is read as its string value. "@WORK@" in a value is
# the directory the case runs in. A .pre file is the result file before the run;
# a case without a script has no run and its .pre is given to zem2junit alone.
# A .files directory holds more files for the case, copied in first.
# Usage: check_junit.sh TESTER ZEM2JUNIT CASES_DIR NAME
tester=$1 zem2junit=$2 cases=$3 name=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
script=
[ -f "$cases/$name.txt" ] && cp "$cases/$name.txt" "$work/" && script=$name.txt
[ -f "$cases/$name.pre" ] && cp "$cases/$name.pre" "$work/result.txt"
[ -d "$cases/$name.files" ] && cp -R "$cases/$name.files/." "$work/"
cd "$work" || exit 1
work=$(pwd -P)
[ -n "$script" ] && "$tester" "$script" > console.txt 2>&1
"$zem2junit" result.txt $script > out.xml 2> summary.txt
status=$?
if ! xmllint --noout out.xml; then
  echo "not well-formed XML:"; cat out.xml; exit 1
fi

# Width and height from the PNG's header, after its signature.
png_size() {
  [ -f "$1" ] || { echo none; return; }
  [ "$(od -An -N8 -tx1 "$1" | tr -d ' \n')" = 89504e470d0a1a0a ] || { echo "not a PNG"; return; }
  od -An -j16 -N8 -tu1 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4,
                                            $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }'
}

fail=0
while IFS='|' read -r expr want; do
  while :; do
    case $want in
      *@WORK@*) want="${want%%@WORK@*}$work${want#*@WORK@}" ;;
      *) break ;;
    esac
  done
  case $expr in
    exit) got=$status ;;
    summary) got=$(cat summary.txt) ;;
    notes) got=$(sed '$d' summary.txt | awk 'NR > 1 { printf " / " } { printf "%s", $0 }') ;;
    png\ *) got=$(png_size "${expr#png }") ;;
    /*) got=$(xmllint --xpath "string($expr)" out.xml 2>&1) ;;
    *) got=$(xmllint --xpath "$expr" out.xml 2>&1) ;;
  esac
  if [ "$got" != "$want" ]; then
    echo "$expr: got '$got', expected '$want'"; fail=1
  fi
done < "$cases/$name.expect"
[ $fail = 0 ] || { echo "--- result.txt"; cat result.txt; echo "--- out.xml"; cat out.xml; echo "--- stderr"; cat summary.txt; }
exit $fail
