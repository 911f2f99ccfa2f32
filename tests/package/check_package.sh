#!/bin/sh
# Builds the outside project against Zem as a user gets it, and runs it.
#   install: cmake --install into a scratch prefix;
#   deb:     the Debian package from CPack, unpacked with dpkg-deb -x.
# Usage: check_package.sh install|deb BUILD_DIR PROJECT_DIR CMAKE CTEST CPACK
set -e
mode=$1 build=$2 project=$3 cmake=$4 ctest=$5 cpack=$6
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ "$mode" = deb ]; then
  "$cpack" --config "$build/CPackConfig.cmake" -B "$work/pkg" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
  deb=$(ls "$work"/pkg/zem_*.deb)
  dpkg-deb -x "$deb" "$work/root"
  prefix=$work/root/usr
  # Everything a user needs is in the package, and its dependencies name
  # Debian's packages: the X and Motif headers, and what the programs load.
  for f in bin/ZemViewer bin/zem2junit include/zem/zem.h lib/libVarBank.a lib/cmake/Zem/ZemConfig.cmake \
           share/zem/ZemMain.cpp share/man/man1/ZemTester.1 share/man/man1/ZemViewer.1 share/man/man1/zem2junit.1 \
           share/doc/zem/README.md share/doc/zem/examples/functions.cpp share/doc/zem/examples/demo.txt; do
    [ -f "$prefix/$f" ] || { echo "not in the package: $f"; exit 1; }
  done
  depends=$(dpkg-deb -f "$deb" Depends)
  for p in libmotif-dev libxm4 libc6; do
    echo "$depends" | grep -q "$p" || { echo "Depends lacks $p: $depends"; exit 1; }
  done
else
  prefix=$work/prefix
  "$cmake" --install "$build" --prefix "$prefix" > "$work/install.log"
fi
"$cmake" -S "$project" -B "$work/build" -DCMAKE_PREFIX_PATH="$prefix" > "$work/configure.log"
"$cmake" --build "$work/build" > "$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
cd "$work/build"
# The suite has one passing and one failing script: both verdicts must show.
"$ctest" -R '^passing$' --output-on-failure
if "$ctest" -R '^failing$' > "$work/failing.log" 2>&1; then
  echo "the failing script passed"; exit 1
fi
grep -q "1 tests failed out of 1" "$work/failing.log"
# The JUnit side, through the package's own zem2junit.
"$ctest" -R junit --output-on-failure
grep -q '<testcase name="twice (line 2)" classname="passing">' junit/passing.xml
# The tester also works by hand: verdict and result file.
./MyTester "$project/passing.txt" > out.txt
[ "$(cat out.txt)" = "ready" ]
grep -q "double == 14" pkg_result.txt
# The viewer built from the package runs the same script in batch mode,
# with no display at all.
env -u DISPLAY ./MyViewer "$project/passing.txt" > viewer_out.txt
[ "$(cat viewer_out.txt)" = "ready" ]
echo "package ok ($mode)"
