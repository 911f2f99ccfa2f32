#!/bin/sh
# Interpreter benchmarks, each program timed as a whole process (median of
# alternating runs):
#  (a) parse throughput of a ~20 MB script of definition blocks, next to
#      wc -l of the same file as the floor;
#  (b) a script of 10,000 tests (8 integer inputs, 5 checks each) against
#      the GoogleTest program that makes the same checks.
# Usage: sh bench/interp/run.sh BUILD_DIR   (configured with -DZEM_BENCH=ON)
build=$(cd "${1:-build}" && pwd) || exit 1
bin=$build/bench/interp
runs=${ZEM_BENCH_RUNS:-9}
for p in zem_interp_bench_gen zem_interp_bench_tester zem_interp_bench_gtest; do
  [ -x "$bin/$p" ] || { echo "interp bench: $bin/$p missing (build with -DZEM_BENCH=ON)"; exit 0; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

"$bin/zem_interp_bench_gen" defs 20000000 defs.txt || exit 1
"$bin/zem_interp_bench_gen" tests 10000 tests.txt || exit 1

# Wall time of one run in microseconds.
run_us() {
  s=$(date +%s%N)
  "$@" >/dev/null 2>&1
  e=$(date +%s%N)
  echo $(( (e - s) / 1000 ))
}
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# Alternates two commands RUNS times; prints "medianA medianB" in us.
alternate() {
  a=$1; b=$2
  : > a.times; : > b.times
  i=0
  while [ $i -lt "$runs" ]; do
    run_us sh -c "$a" >> a.times
    run_us sh -c "$b" >> b.times
    i=$((i + 1))
  done
  echo "$(median < a.times) $(median < b.times)"
}

bytes=$(wc -c < defs.txt)
set -- $(alternate "'$bin/zem_interp_bench_tester' defs.txt" "wc -l defs.txt")
parse_us=$1; wc_us=$2
echo "interp (a) parse: $bytes bytes of definition blocks"
awk -v b="$bytes" -v p="$parse_us" -v w="$wc_us" 'BEGIN {
  printf "  zem_interp_bench_tester defs.txt  %8.1f ms  %7.1f MB/s\n", p / 1000, b / p
  printf "  wc -l defs.txt                    %8.1f ms  %7.1f MB/s\n", w / 1000, b / w
  printf "  parse / wc -l throughput          %8.3f  (goal >= 0.1)\n", w / p }'

set -- $(alternate "'$bin/zem_interp_bench_tester' tests.txt" "'$bin/zem_interp_bench_gtest'")
script_us=$1; gtest_us=$2
grep -q ERROR result.txt && echo "  warning: the script reported failed checks"
echo "interp (b) 10,000 tests, 8 inputs and 5 checks each"
awk -v s="$script_us" -v g="$gtest_us" 'BEGIN {
  printf "  zem_interp_bench_tester tests.txt %8.1f ms  %9.0f tests/s\n", s / 1000, 1e10 / s
  printf "  zem_interp_bench_gtest            %8.1f ms  %9.0f tests/s\n", g / 1000, 1e10 / g
  printf "  script / GoogleTest speed         %8.3f  (goal >= 1)\n", g / s }'
