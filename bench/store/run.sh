#!/bin/sh
# Runs the data-store benchmark. Usage: run.sh BUILD_DIR
build=${1:-build}
exe="$build/bench/store/zem_store_bench"
if [ ! -x "$exe" ]; then
  echo "zem_store_bench not built (configure with -DZEM_BENCH=ON)" >&2
  exit 0
fi
"$exe" --benchmark_counters_tabular=true
