#!/bin/sh
# Runs every benchmark that the build produced, shows what each prints, and
# ends with one table of all figures next to their anchors (bench/collect.awk),
# headed by the machine it ran on. Usage: run-all.sh BUILD_DIR
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for s in "$here"/*/run.sh; do
  [ -f "$s" ] || continue
  echo "== $(basename "$(dirname "$s")")"
  sh "$s" "$build" 2>&1 | tee -a "$log"
done
echo
echo "== all figures, $(date -u '+%Y-%m-%d %H:%M UTC')"
cpu=$(grep -m1 'model name' /proc/cpuinfo 2>/dev/null | sed 's/.*: //')
echo "machine: $cpu, $(nproc) CPUs, $(free -g 2>/dev/null | awk '/^Mem:/ {print $2 " GB"}') RAM, $(uname -sr)"
echo
awk -f "$here/collect.awk" "$log"
exit 0
