#!/bin/sh
# End to end: the real viewer on a private Xvfb, driven with xdotool like a
# user (ReRead, Run, Save), with a PNG of the window left in the build tree.
# Usage: e2e_viewer.sh VIEWER XSHOT OUT_DIR SCRIPT
viewer=$1 xshot=$2 outdir=$3 script=$4
. "$(dirname "$0")/xvfb.sh"
gui_test_begin

# The script as a Windows editor leaves it: CR LF, no final newline.
awk '{ printf "%s%s", (NR > 1 ? "\r\n" : ""), $0 }' "$script" > "$work/in.txt"
cp "$work/in.txt" "$work/original.txt"
cp "$(dirname "$script")/house.zdr" "$work/"
cd "$work" || fail "no work directory"
"$viewer" > viewer.log 2>&1 &
vpid=$!

win=$(visible_window "ZemViewer 1.56B") || fail "no viewer window"
sleep 0.3

# The bottom buttons of the 800 x 600 window: ReRead, Save, Run.
click() { xdotool mousemove --window "$win" "$1" 583 click 1; sleep 0.3; }
waitfor() { for i in $(seq 50); do eval "$1" && return 0; sleep 0.1; done; return 1; }

click 100
click 500
waitfor '[ -s demo_result.txt ]' || fail "Run wrote no result file"
grep -q "keypress" demo_result.txt || fail "result file lacks the last test"
cmp -s in.txt original.txt || fail "Run changed the script file on disk"
[ ! -e in.txt_ ] || fail "Run left in.txt_ behind"
mkdir -p "$outdir"
"$xshot" "$win" "$outdir/viewer-e2e.png" || fail "no screenshot"

click 300
waitfor '! grep -q "$(printf "\r")" in.txt' || fail "Save kept carriage returns"
[ "$(tail -c 1 in.txt | od -An -c | tr -d ' ')" = '\n' ] || fail "saved script lacks its final newline"
tr -d '\r' < original.txt > expected.txt
printf '\n' >> expected.txt
cmp -s in.txt expected.txt || fail "saved script differs from the loaded text"
head -c 8 "$outdir/viewer-e2e.png" | od -An -c | grep -q "P   N   G" || fail "screenshot is not a PNG"
echo "viewer end to end ok: $outdir/viewer-e2e.png"
