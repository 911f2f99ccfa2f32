#!/bin/sh
# A viewer connected to a tester, driven by random clicks and key presses in
# its graphic pane (xdotool, seeded): it must stay alive, keep answering, and
# keep its memory flat. Usage: viewer_soak.sh VIEWER TESTER [EVENTS [SEED]]
absolute() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
viewer=$(absolute "$1") tester=$(absolute "$2") events=${3:-2000} seed=${4:-1}
flat_kb=4096
work=$(mktemp -d)
xpid="" tpid="" vpid=""
cleanup() {
  for p in $vpid $tpid $xpid; do kill "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "viewer soak: $*"; exit 1; }

. "$(dirname "$0")/../viewer/xvfb.sh"
start_xvfb || fail "no Xvfb"

# The viewer's Remote Settings start at localhost and 6500.
mkdir "$work/tester" "$work/viewer"
(cd "$work/tester" && exec "$tester" -p 6500 > console.txt 2>&1) &
tpid=$!
sleep 0.3
kill -0 "$tpid" 2>/dev/null || fail "no tester on port 6500"
(cd "$work/viewer" && exec "$viewer" > console.txt 2>&1) &
vpid=$!
win=$(visible_window "ZemViewer 1.56B") || fail "no viewer window"
sleep 0.5

# Settings > Remote ... (the menu's second item), then the toggle and Apply.
xdotool mousemove --window "$win" 105 16 click 1
sleep 0.3
xdotool mousemove --window "$win" 110 62 click 1
sleep 0.5
dialog=$(visible_window "Remote Settings") || fail "no Remote Settings dialog"
xdotool mousemove --window "$dialog" 200 92 click 1
sleep 0.2
xdotool mousemove --window "$dialog" 70 137 click 1
sleep 0.5
grep -q "accepted" "$work/tester/console.txt" || fail "the viewer did not connect"

# Into the log pane, F1 for the graphic view, then the random events.
xdotool mousemove --window "$win" 600 300 click 1 key F1
sleep 0.5
rss() { awk '/^VmRSS:/ { print $2 }' /proc/"$vpid"/status; }
awk -v n="$events" -v seed="$seed" 'BEGIN {
  srand(seed); split("a b c x y z 1 2 Return Tab Escape BackSpace Up Down Left Right Home End quotedbl apostrophe", keys, " ");
  for (i = 1; i <= n; i++) {
    x = 420 + int(rand() * 340); y = 100 + int(rand() * 420);
    if (rand() < 0.5) printf "click %d %d %d\n", x, y, 1 + int(rand() * 3);
    else printf "key %d %d %s\n", x, y, keys[1 + int(rand() * 20)];
  }
}' > "$work/events"
count=0 start_kb=""
while read -r kind x y what; do
  kill -0 "$vpid" 2>/dev/null || fail "the viewer died after $count events"
  if [ "$kind" = click ]; then
    xdotool mousemove --window "$win" "$x" "$y" click "$what"
  else
    xdotool mousemove --window "$win" "$x" "$y" key "$what"
  fi
  count=$((count + 1))
  [ $count -eq $((events / 10)) ] && start_kb=$(rss)
done < "$work/events"
sleep 1
kill -0 "$vpid" 2>/dev/null || fail "the viewer died at the end"
end_kb=$(rss)
last=$(cat "$work/tester/xin.txt")
case $last in
  buttonpress*|keypress*) ;;
  *) fail "the tester saw no input record at the end: '$last'" ;;
esac
echo "viewer soak: $events events, viewer resident $start_kb kB -> $end_kb kB, last record $last"
[ $((end_kb - start_kb)) -le $flat_kb ] || fail "memory grew by more than $flat_kb kB"
