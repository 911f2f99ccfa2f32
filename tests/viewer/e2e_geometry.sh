#!/bin/sh
# The toolkit's -geometry is honoured: the window has the size and place
# asked for, and 800 x 600 without one.
# Usage: e2e_geometry.sh VIEWER
viewer=$1
. "$(dirname "$0")/xvfb.sh"
gui_test_begin
cd "$work" || fail "no work directory"

# Prints "WIDTHxHEIGHT+X+Y" of the viewer started with the given options.
window_of() {
  "$viewer" "$@" > viewer.log 2>&1 &
  vpid=$!
  win=$(visible_window "ZemViewer 1.56B") || fail "no viewer window for $*"
  # A busy machine may map the window before it has its final geometry:
  # the answer is the one that holds still for a moment.
  last=""
  for i in $(seq 30); do
    sleep 0.2
    now=$(xwininfo -id "$win" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
      /Width:/ {w=$NF} /Height:/ {h=$NF} END {print w "x" h "+" x "+" y}')
    [ "$now" = "$last" ] && break
    last=$now
  done
  echo "$now"
  kill "$vpid"; wait "$vpid" 2>/dev/null; vpid=""
}

for c in "600x420+30+40:-geometry 600x420+30+40" "800x600+10+20:-geometry +10+20" "1000x700+0+0:-geometry 1000x700"; do
  want=${c%%:*} opts=${c#*:}
  # shellcheck disable=SC2086
  got=$(window_of $opts)
  [ "$got" = "$want" ] || fail "$opts gave $got, expected $want"
done
echo "geometry ok"
