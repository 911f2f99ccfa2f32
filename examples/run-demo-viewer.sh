#!/bin/sh
# make demo-viewer: opens the example viewer on the demo script. The script is
# copied as in.txt, the name the viewer's script-name field starts with, so
# ReRead loads it and Run runs it. Without a display the viewer's batch mode
# runs it instead. Usage: run-demo-viewer.sh BUILD_DIR
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
viewer="$(cd "$build" && pwd)/examples/ZemViewer"
work="$build/demo-viewer"
mkdir -p "$work"
cp "$here/demo.txt" "$work/in.txt"
cp "$here/house.zdr" "$work/"
cd "$work" || exit 1
if [ -z "$DISPLAY" ]; then
  echo "== no X display (DISPLAY is not set): batch mode, ZemViewer in.txt"
  exec "$viewer" in.txt
fi
echo "== ZemViewer in $(pwd): press ReRead to load in.txt, then Run"
exec "$viewer"
