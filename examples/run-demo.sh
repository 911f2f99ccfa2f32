#!/bin/sh
# make demo: runs the example tester on the demo script, then prints the
# verdict and the result file. Usage: run-demo.sh BUILD_DIR
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
tester="$(cd "$build" && pwd)/examples/ZemTester"
work="$build/demo"
mkdir -p "$work"
cp "$here/demo.txt" "$here/house.zdr" "$work/"
cd "$work" || exit 1
echo "== ZemTester demo.txt"
"$tester" demo.txt
status=$?
case $status in
  0) verdict="all tests passed" ;;
  252) verdict="some verifications failed" ;;
  253) verdict="no result file could be written" ;;
  254) verdict="the script could not be read" ;;
  *) verdict="stopped with status $status" ;;
esac
echo "== verdict: $verdict (exit status $status)"
echo "== demo_result.txt"
cat demo_result.txt
exit $status
