#!/bin/sh
# Runs a program under valgrind's memcheck on a copy of a script in a
# scratch directory: any memory error, or memory definitely lost, fails.
# The program's own exit status (a verdict) does not count.
# Usage: memcheck.sh PROGRAM SCRIPT
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1") script=$2
[ -x "$program" ] || { echo "no program $1"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$script" "$work/script.txt"
cd "$work" || exit 1
valgrind --quiet --error-exitcode=99 --leak-check=full --show-leak-kinds=definite \
  --errors-for-leak-kinds=definite "$program" script.txt > console.txt 2> valgrind.txt
rc=$?
if [ $rc -eq 99 ]; then
  echo "memcheck found errors in $(basename "$program") on $(basename "$script"):"
  cat valgrind.txt
  exit 1
fi
echo "memcheck clean: $(basename "$program") on $(basename "$script"), exit status $rc"
