#!/bin/sh
# Runs the server benchmark. Usage: run.sh BUILD_DIR [RUNS]
build=${1:-build}
case $build in /*) ;; *) build=$(pwd)/$build ;; esac
exe="$build/bench/server/zem_server_bench"
if [ ! -x "$exe" ]; then
  echo "zem_server_bench not built (configure with -DZEM_BENCH=ON)" >&2
  exit 0
fi
"$exe" "$build/bench/server/zem_server_bench_tester" "${2:-500}"
