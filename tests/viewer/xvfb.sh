# Sourced by the shell tests that need an X server. start_xvfb starts Xvfb,
# which picks a free display number itself and writes it once it takes
# connections (-displayfd), so parallel tests never race for a number; it
# sets DISPLAY and xpid. -noreset: without it the server resets whenever
# its last client leaves (each xdotool call is one), and a program that
# connects during the reset is refused.
# Returns non-zero when no server comes up.
start_xvfb() {
  numfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$numfile" >/dev/null 2>&1 &
  xpid=$!
  tries=0
  while [ $tries -lt 300 ] && kill -0 "$xpid" 2>/dev/null; do
    n=$(head -n 1 "$numfile" 2>/dev/null)
    if [ -n "$n" ]; then
      rm -f "$numfile"
      export DISPLAY=:$n
      return 0
    fi
    sleep 0.1; tries=$((tries + 1))
  done
  rm -f "$numfile"
  kill "$xpid" 2>/dev/null; xpid=""
  return 1
}

# Prints the id of the first visible window titled NAME, waiting up to thirty
# seconds for it (a sanitizer build on a busy machine takes several to start);
# prints nothing when none appears.
visible_window() {
  for i in $(seq 300); do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$found" ] && { echo "$found"; return 0; }
    sleep 0.1
  done
  return 1
}

# The common start of a GUI shell test: a scratch directory in $work, a
# fail that says why and ends the test, an Xvfb of its own, and at the end
# the viewer ($vpid, when set), the server and the directory go away.
fail() {
  echo "FAIL: $*"
  [ -s "$work/viewer.log" ] && sed 's/^/viewer.log: /' "$work/viewer.log" | tail -n 20
  exit 1
}
gui_test_end() {
  [ -n "$vpid" ] && kill "$vpid" 2>/dev/null
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
  rm -rf "$work"
}
gui_test_begin() {
  work=$(mktemp -d)
  xpid="" vpid=""
  trap gui_test_end EXIT
  start_xvfb || fail "no Xvfb"
}
