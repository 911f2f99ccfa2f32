#!/bin/sh
# Runs every fuzz target for FUZZ_SECONDS (default 60) on its seeds and the
# inputs that once found a fault, each in a scratch directory of its own, and
# prints one line per target: runs, corpus size, coverage. A target that
# crashes leaves its input in BUILD/fuzz/work/<target>/ and fails the run.
# Usage: run.sh BUILD_DIR
build=${1:-build-fuzz}
case $build in /*) ;; *) build=$(pwd)/$build ;; esac
here=$(cd "$(dirname "$0")" && pwd)
seconds=${FUZZ_SECONDS:-60}
status=0
for target in script grc bank server reply drawing report; do
  program=$build/fuzz/${target}_fuzz
  [ "$target" = grc ] && program=$build/fuzz/grc_decode_fuzz
  [ "$target" = drawing ] && program=$build/fuzz/drawing_text_fuzz
  work=$build/fuzz/work/$target
  corpus=$build/fuzz/corpus/$target
  mkdir -p "$work" "$corpus"
  cp "$here"/seeds/$target/* "$corpus"/ 2>/dev/null
  cp "$here"/regressions/$target/* "$corpus"/ 2>/dev/null
  if [ "$target" = script ]; then
    for f in "$here"/../tests/scripts/cases/*/script.txt; do
      cp "$f" "$corpus/$(basename "$(dirname "$f")")"
    done
  fi
  log=$work/fuzz.log
  # A plain artifact name: the file jail refuses names with a directory.
  (cd "$work" && "$program" -max_total_time="$seconds" -timeout=10 -max_len=4096 -artifact_prefix= \
      -print_final_stats=1 "$corpus" > "$log" 2>&1)
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
  files=$(ls "$corpus" | wc -l)
  echo "fuzz $target: ${runs:-?} runs in ${seconds} s, corpus $files inputs, coverage ${cov:-?} edges, exit $rc"
  if [ $rc -ne 0 ]; then
    status=1
    tail -40 "$log"
  fi
done
exit $status
