#!/bin/sh
# Interpreter benchmarks, each program timed as a whole process, run
# alternately with its anchor (medians, by zem_interp_bench_run):
#  (a) parse throughput of ~20 MB definition scripts of three shapes (flat
#      blocks; 100 groups of 100 lines per block; arrays, strings and
#      references), next to wc -l of the same file as the reading floor;
#  (b) a script of 10,000 tests (8 integer inputs, 1 string input, 5 checks
#      each) against the GoogleTest program that makes the same checks,
#      its output going to a file;
#  (c) start-up: a one-test script against a program that only opens and
#      writes one file;
#  (d) a test whose array input holds 1,000,000 numbers, time and peak
#      memory, against a strtod loop that reads the same numbers into a
#      vector.
# Usage: sh bench/interp/run.sh BUILD_DIR   (configured with -DZEM_BENCH=ON)
build=$(cd "${1:-build}" && pwd) || exit 1
bin=$build/bench/interp
runs=${ZEM_BENCH_RUNS:-9}
for p in zem_interp_bench_gen zem_interp_bench_run zem_interp_bench_trivial zem_interp_bench_tester \
         zem_interp_bench_gtest zem_interp_bench_strtod; do
  [ -x "$bin/$p" ] || { echo "interp bench: $bin/$p missing (build with -DZEM_BENCH=ON)"; exit 0; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

for shape in defs nested shapes; do
  "$bin/zem_interp_bench_gen" $shape 20000000 $shape.txt || exit 1
done
"$bin/zem_interp_bench_gen" tests 10000 tests.txt || exit 1
"$bin/zem_interp_bench_gen" tests 1 one.txt || exit 1
"$bin/zem_interp_bench_gen" items 1000000 items.txt || exit 1

# Prints "MEDIAN_A MEDIAN_B" in microseconds of RUNS alternating runs, then
# the two medians of peak memory in kilobytes.
alternate() { "$bin/zem_interp_bench_run" "$runs" "$1" "$2"; }

# "<figure>: <value> <unit> vs <anchor>: <value> <unit>, ratio <r> (goal <g>)"
line() {
  awk -v f="$1" -v a="$2" -v u="$3" -v n="$4" -v b="$5" -v r="$6" -v g="$7" \
    'BEGIN { printf "%s: %.1f %s vs %s: %.1f %s, ratio %.3f (goal %s)\n", f, a, u, n, b, u, r, g }'
}

echo "interp (a) parse throughput of definition scripts, $runs runs alternating with wc -l"
for shape in defs nested shapes; do
  bytes=$(wc -c < $shape.txt)
  set -- $(alternate "$bin/zem_interp_bench_tester $shape.txt" "wc -l $shape.txt")
  grep -q "in line" result.txt && echo "  warning: the $shape script reported an error"
  case $shape in
    defs) what="flat definition blocks" ;;
    nested) what="nested groups 100x100 lines per block" ;;
    shapes) what="arrays, strings, references" ;;
  esac
  line "interp parse $what ($bytes bytes)" "$(echo "$bytes $1" | awk '{print $1 / $2}')" "MB/s" \
    "wc -l" "$(echo "$bytes $2" | awk '{print $1 / $2}')" "$(echo "$2 $1" | awk '{print $1 / $2}')" ">= 0.1"
done

echo "interp (b) 10,000 tests, 8 integer inputs, 1 string input and 5 checks each, $runs runs alternating"
set -- $(alternate "$bin/zem_interp_bench_tester tests.txt" "$bin/zem_interp_bench_gtest >gtest.txt")
grep -q ERROR result.txt && echo "  warning: the script reported failed checks"
grep -q FAILED gtest.txt && echo "  warning: the GoogleTest program reported failed checks"
line "interp 10,000-test script" "$(echo "$1" | awk '{print $1 / 1000}')" "ms" \
  "GoogleTest, output to a file" "$(echo "$2" | awk '{print $1 / 1000}')" "$(echo "$1 $2" | awk '{print $1 / $2}')" "<= 1.0"

echo "interp (c) start-up, $runs runs alternating"
set -- $(alternate "$bin/zem_interp_bench_tester one.txt" "$bin/zem_interp_bench_trivial")
line "interp one-test run" "$(echo "$1" | awk '{print $1 / 1000}')" "ms" \
  "a program writing one file" "$(echo "$2" | awk '{print $1 / 1000}')" "$(echo "$1 $2" | awk '{print $1 / $2}')" \
  "<= 2.0, or at most 2 ms"

echo "interp (d) an array input of 1,000,000 numbers, $runs runs alternating with a strtod loop"
set -- $(alternate "$bin/zem_interp_bench_tester items.txt" "$bin/zem_interp_bench_strtod items.txt")
grep -q "ERROR\| in line " result.txt && echo "  warning: the array script reported an error"
line "interp 1,000,000-item array input ($(wc -c < items.txt) bytes)" "$(echo "$1" | awk '{print $1 / 1000}')" "ms" \
  "strtod loop, same numbers" "$(echo "$2" | awk '{print $1 / 1000}')" "$(echo "$1 $2" | awk '{print $1 / $2}')" "<= 10"
line "interp 1,000,000-item array input, peak memory" "$(echo "$3" | awk '{print $1 / 1024}')" "MB" \
  "strtod loop, same numbers" "$(echo "$4" | awk '{print $1 / 1024}')" "$(echo "$3 $4" | awk '{print $1 / $2}')" "<= 10"
