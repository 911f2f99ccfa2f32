#!/bin/sh
# Runs the README's first script on the tester built from the README's
# first.cpp and compares what the README shows: the console (first line is
# the command, the rest its output, then the exit status) and the result
# file. Usage: check_readme.sh TESTER DIR_WITH_THE_README_FILES
tester=$1 dir=$2
for f in first.cpp first.txt first_result.txt first_console.txt; do
  [ -s "$dir/$f" ] || { echo "README.md has no block marked <!-- readme: $f -->"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$dir/first.txt" "$work/"
cd "$work" || exit 1
"$tester" first.txt > console.out
status=$?
echo "\$ echo \$?" >> console.out
echo $status >> console.out
fail=0
# The README's console block starts with the command line it shows.
tail -n +2 "$dir/first_console.txt" > console.want
if ! cmp -s console.want console.out; then
  echo "console differs from the README:"; diff console.want console.out; fail=1
fi
# Markdown blocks cannot end in empty lines: compare without them.
sed -e :a -e '/^\n*$/{$d;N;ba' -e '}' first_result.txt > result.got
sed -e :a -e '/^\n*$/{$d;N;ba' -e '}' "$dir/first_result.txt" > result.want
if ! cmp -s result.want result.got; then
  echo "result file differs from the README:"; diff result.want result.got; fail=1
fi
exit $fail
