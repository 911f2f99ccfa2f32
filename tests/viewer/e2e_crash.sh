#!/bin/sh
# The window survives what it runs: a test function that crashes, and one
# that never returns and is stopped with Esc. Each time the viewer stays up,
# the result file has the broken-test record, and the user's script on disk
# is exactly as it was. PNGs of the window are left in the build tree.
# Usage: e2e_crash.sh VIEWER XSHOT OUT_DIR
viewer=$1 xshot=$2 outdir=$3
. "$(dirname "$0")/xvfb.sh"
gui_test_begin

cd "$work" || fail "no work directory"
printf 'resultfile "r.txt"\ncrash { }\n' > in.txt
cp in.txt original.txt
"$viewer" > viewer.log 2>&1 &
vpid=$!
win=$(visible_window "ZemViewer 1.56B") || fail "no viewer window"
sleep 0.3
mkdir -p "$outdir"

# The bottom buttons of the 800 x 600 window: ReRead, Run.
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; sleep 0.3; }
waitfor() { for i in $(seq 80); do eval "$1" && return 0; sleep 0.1; done; return 1; }
alive() { kill -0 "$vpid" 2>/dev/null || fail "the viewer died: $1"; }

# ReRead, then an edit at the end of the script, so the run sets it aside.
click 100 583
click 200 300
xdotool key --window "$win" ctrl+End
xdotool type --window "$win" "// edited"
click 500 583
waitfor 'grep -q "BROKEN (segm violation)" r.txt 2>/dev/null' || fail "no record of the crash"
alive "crash"
cmp -s in.txt original.txt || fail "the crash changed the script on disk"
ls in.txt_* >/dev/null 2>&1 && fail "the script was left aside"
"$xshot" "$win" "$outdir/viewer-crash.png" || fail "no screenshot"

# A function that never returns: Esc ends it.
printf 'resultfile "r.txt"\nspin { }\n' > in.txt
click 100 583
click 500 583
sleep 1
alive "spin"
"$xshot" "$win" "$outdir/viewer-running.png" || fail "no screenshot"
xdotool key --window "$win" Escape
waitfor 'grep -q "BROKEN (stopped)" r.txt 2>/dev/null' || fail "no record of the stop"
alive "stop"
sleep 0.3
"$xshot" "$win" "$outdir/viewer-stopped.png" || fail "no screenshot"
echo "viewer survived: $outdir/viewer-crash.png $outdir/viewer-stopped.png"
