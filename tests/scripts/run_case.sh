#!/bin/sh
# Runs one script case in a scratch copy of its folder and compares the
# result file, the console output and the exit status byte for byte, and
# standard error too when the case holds stderr.txt.
# Usage: run_case.sh TESTER CASE_DIR
tester=$1
case_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$case_dir"/. "$work"/
rm -f "$work/result.txt"
[ -f "$case_dir/pre_result.txt" ] && cp "$case_dir/pre_result.txt" "$work/result.txt"
cd "$work" || exit 1

args="script.txt"
[ -f args ] && args=$(cat args)
# shellcheck disable=SC2086
"$tester" $args > console.out 2> stderr.out
status=$?

fail=0
if [ -f expected.txt ]; then
  if ! cmp -s expected.txt result.txt; then
    echo "result file differs:"; diff expected.txt result.txt | head -40; fail=1
  fi
elif [ -f result.txt ]; then
  echo "unexpected result file:"; head -40 result.txt; fail=1
fi
if [ -f console.txt ] && ! cmp -s console.txt console.out; then
  echo "console output differs:"; diff console.txt console.out | head -40; fail=1
fi
if [ -f stderr.txt ] && ! cmp -s stderr.txt stderr.out; then
  echo "standard error differs:"; diff stderr.txt stderr.out | head -40; fail=1
fi
want=$(cat status 2>/dev/null || echo 0)
if [ "$status" != "$want" ]; then
  echo "exit status $status, expected $want"; fail=1
fi
exit $fail
