#!/bin/sh
# Usage: check_package.sh BUILD_DIR PROJECT_DIR CMAKE CTEST
set -e
build=$1 project=$2 cmake=$3 ctest=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cmake" --install "$build" --prefix "$work/prefix" > "$work/install.log"
"$cmake" -S "$project" -B "$work/build" -DCMAKE_PREFIX_PATH="$work/prefix" > "$work/configure.log"
"$cmake" --build "$work/build" > "$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
cd "$work/build"
# The suite has one passing and one failing script: both verdicts must show.
"$ctest" -R passing --output-on-failure
if "$ctest" -R failing > "$work/failing.log" 2>&1; then
  echo "the failing script passed"; exit 1
fi
grep -q "1 tests failed out of 1" "$work/failing.log"
# The tester also works by hand: verdict and result file.
./MyTester "$project/passing.txt" > out.txt
[ "$(cat out.txt)" = "ready" ]
grep -q "double == 14" pkg_result.txt
# The viewer built from the package runs the same script in batch mode,
# with no display at all.
env -u DISPLAY ./MyViewer "$project/passing.txt" > viewer_out.txt
[ "$(cat viewer_out.txt)" = "ready" ]
echo "package ok"
