#!/bin/sh
# Runs the viewer's benchmarks: the replay, the interactive round trip, and
# what the run worker adds to a local Run.
# Usage: run.sh BUILD_DIR
build=${1:-build}
case $build in /*) ;; *) build=$(pwd)/$build ;; esac
replay="$build/bench/viewer/zem_replay_bench"
click="$build/bench/viewer/zem_click_bench"
if [ ! -x "$replay" ] || [ ! -x "$click" ]; then
  echo "viewer benchmarks not built (configure with -DZEM_BENCH=ON)" >&2
  exit 0
fi
"$replay"
"$click" "$build/bench/viewer/zem_click_bench_tester" 100
"$build/bench/viewer/zem_localrun_bench" 200
"$build/bench/viewer/zem_record_bench" "$build/examples/ZemTester" "$build/bench/viewer/zem_record_bench_planted" 100
"$build/bench/viewer/zem_accept_bench"
