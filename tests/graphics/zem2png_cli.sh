#!/bin/sh
# zem2png's command line: each exit status with its message, and the
# pictures it writes. Usage: zem2png_cli.sh ZEM2PNG
png=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fails=0
# expect STATUS OUTPUT-PATTERN ARGS...: the status, and the pattern in what
# the program printed on either stream.
expect() {
  want=$1 pattern=$2
  shift 2
  "$png" "$@" > out.txt 2>&1
  got=$?
  if [ "$got" != "$want" ] || { [ -n "$pattern" ] && ! grep -q -- "$pattern" out.txt; }; then
    echo "FAIL: zem2png $* gave $got, expected $want with '$pattern':"
    cat out.txt
    fails=$((fails + 1))
  fi
}
printf '# zem drawing\ncolor 255 0 0\nrect 10 10 50 50 fill\n' > a.zdr
printf 'color 255 0 0\nrect 10 10 51 50 fill\n' > b.zdr
printf 'color 255 0 0\nrect 10 10 50\n' > bad.zdr

expect 0 'usage: zem2png' --help
expect 2 'needs DRAWING and OUT'
expect 2 'unknown option' --sise 10x10 a.zdr a.png
expect 2 'WIDTHxHEIGHT' --size 10x0 a.zdr a.png
expect 2 'tolerance needs' --tolerance -1 --diff a.zdr b.zdr d.png
expect 2 'missing.zdr: cannot be opened' missing.zdr a.png
expect 2 'bad.zdr:2: rect: y2 is missing' bad.zdr a.png
expect 2 'bad.zdr:2: rect: y2 is missing' --diff a.zdr bad.zdr d.png
expect 0 '' --size 64x48 a.zdr a.png
expect 0 'picture a.zdr: 2 commands, as expected' --diff a.zdr a.zdr same.png
expect 1 'picture a.zdr: command 2 rect x2 = 51, expected 50' --diff a.zdr b.zdr d.png
expect 0 'as expected' --tolerance 1 --diff a.zdr b.zdr d.png
for f in a.png same.png d.png; do
  [ "$(head -c 8 $f | od -An -c | tr -d ' ')" = '211PNG\r\n032\n' ] || { echo "FAIL: $f is no PNG"; fails=$((fails + 1)); }
done
[ "$fails" = 0 ] && echo "zem2png command line ok"
exit $fails
