#!/bin/sh
# The README's walk-through, done by xdotool on the real example viewer: a
# picture check fails and shows the overlay, Accept takes the new picture
# and the next Run passes, Record writes clicks and a key as a script that
# the example tester replays with success, and that fails once the drawing
# it expects changes. Screenshots of each step land in OUT_DIR.
# Usage: e2e_walkthrough.sh VIEWER TESTER XSHOT OUT_DIR EXAMPLES_DIR
viewer=$1 tester=$2 xshot=$3 outdir=$4 examples=$5
. "$(dirname "$0")/xvfb.sh"
gui_test_begin
mkdir -p "$outdir"

cd "$work" || fail "no work directory"
cp "$examples/house.zdr" .
# The sun expected further left than the function draws it.
sed -i 's/^arc 250 20 300 70/arc 215 25 265 75/' house.zdr
cat > in.txt <<'EOF'
// The house, checked command by command against house.zdr.
resultfile "house_result.txt"
drawHouse { verify: drawn == 1  picture "house.zdr" }
EOF
"$viewer" > viewer.log 2>&1 &
vpid=$!
win=$(visible_window "ZemViewer 1.56B") || fail "no viewer window"
sleep 0.3

at() { xdotool mousemove --window "$win" "$1" "$2" click 1; sleep 0.4; }
waitfor() { for i in $(seq 50); do eval "$1" && return 0; sleep 0.1; done; return 1; }
shot() { "$xshot" "$win" "$outdir/$1" || fail "no screenshot $1"; }
lastblock() { tail -n 7 house_result.txt; }
# The log pane takes the keyboard when clicked.
pane() { at 600 300; }

at 100 583
at 500 583
waitfor 'lastblock | grep -q "command 7 arc x1 = 250, expected 215] ERROR"' || fail "the picture check did not fail"
pane
xdotool key F1
sleep 0.5
shot walk-overlay.png

xdotool key F3
waitfor 'cmp -s house.zdr house.actual.zdr' || fail "Accept did not take the actual drawing"
at 500 583
waitfor '[ "$(grep -c "^drawHouse" house_result.txt)" = 2 ] && ! lastblock | grep -q ERROR' ||
  fail "the run after Accept failed"
shot walk-accepted.png

# Settings > Record, and the prompt's OK with the name typed over the guess.
at 105 16
at 110 106
dialog=$(visible_window "^Record$") || fail "Record asked for no file"
# The keyboard follows the pointer: into the dialog, once it has settled.
xdotool mousemove --window "$dialog" 60 40
sleep 0.5
xdotool type --delay 20 "clicks.txt"
xdotool key Return
waitfor '[ -s clicks.txt ]' || { "$xshot" $(xwininfo -root | awk '/Window id/ {print $4}') "$outdir/walk-debug.png"; fail "Record wrote no script"; }
# Recording began in the graphic view with "ongraphic": test 1.
for p in "480 380" "560 420" "650 400"; do at $p; done
xdotool mousemove --window "$win" 700 460
sleep 0.2
xdotool key a
waitfor '[ -s clicks_5.zdr ]' || fail "the key was not recorded"
sleep 0.3
shot walk-record.png
at 105 16
at 110 106
grep -q '^keypress {' clicks.txt || fail "no keypress test in the recording"

"$tester" clicks.txt > replay.out 2>&1 || { cat replay.out; fail "the replay failed"; }
grep -q "^ready" replay.out || fail "the replay said $(cat replay.out)"
[ "$(grep -c ' ERROR' clicks_result.txt)" = 0 ] || fail "the replay's result file has errors"

mkdir -p "$outdir/recording"
cp clicks.txt clicks_*.zdr "$outdir/recording/"

# A drawing that changed: the replay fails and names the command.
sed -i 's/^arc \([0-9]*\) /arc 1\1 /' clicks_3.zdr
if "$tester" clicks.txt > changed.out 2>&1; then fail "the replay passed a changed drawing"; fi
grep -q 'clicks.txt:[0-9]*: buttonpress: picture "clicks_3.zdr"; \[picture clicks_3.zdr: command' changed.out ||
  fail "the failing replay said $(cat changed.out)"
echo "walk-through ok: $outdir/walk-*.png"
