#!/bin/sh
# Runs the viewer's replay benchmark. Usage: run.sh BUILD_DIR
build=${1:-build}
exe="$build/bench/viewer/zem_replay_bench"
if [ ! -x "$exe" ]; then
  echo "zem_replay_bench not built (configure with -DZEM_BENCH=ON)" >&2
  exit 0
fi
"$exe"
