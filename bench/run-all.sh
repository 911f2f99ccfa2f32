#!/bin/sh
# Runs every benchmark that the build produced. Usage: run-all.sh BUILD_DIR
build=${1:-build}
here=$(dirname "$0")
for s in "$here"/*/run.sh; do
  [ -f "$s" ] && sh "$s" "$build"
done
exit 0
