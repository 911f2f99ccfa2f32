# Sourced by the shell tests that need an X server. start_xvfb starts Xvfb on
# a free display number (from FIRST on), sets DISPLAY and xpid; a number
# another process takes at the same moment makes Xvfb exit, and the next one
# is tried. Returns non-zero when none comes up.
start_xvfb() {
  n=$1
  while [ "$n" -lt 1000 ]; do
    if [ ! -e /tmp/.X$n-lock ] && [ ! -e /tmp/.X11-unix/X$n ]; then
      Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      xpid=$!
      tries=0
      while [ $tries -lt 50 ] && kill -0 "$xpid" 2>/dev/null; do
        xdpyinfo -display :$n >/dev/null 2>&1 && break
        sleep 0.1; tries=$((tries + 1))
      done
      if xdpyinfo -display :$n >/dev/null 2>&1; then
        export DISPLAY=:$n
        return 0
      fi
      kill "$xpid" 2>/dev/null; xpid=""
    fi
    n=$((n + 1))
  done
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
