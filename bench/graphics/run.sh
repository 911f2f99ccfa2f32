#!/bin/sh
# Runs the drawing benchmark: comparing two equal 10,000-command drawings
# against a pixel diff of the same two as PNGs, and rendering one to PNG.
# Usage: run.sh BUILD_DIR
build=${1:-build}
exe="$build/bench/graphics/zem_drawing_bench"
if [ ! -x "$exe" ]; then
  echo "zem_drawing_bench not built (configure with -DZEM_BENCH=ON)" >&2
  exit 0
fi
"$exe"
