#!/usr/bin/env bash
# make demo: builds the sample product's package with zrpack, runs the package
# under Wine on a virtual display (it unpacks itself and runs setup.exe), lets
# the robot press the buttons a user would, and prints what the installation
# left on the machine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

echo "== The kit, as built"
for f in dist/win32/* dist/win64/*; do
  [ -f "$f" ] && printf '   %-28s %9d bytes\n' "$f" "$(stat -c %s "$f")"
done

echo
echo "== The sample product (examples/sample) with the programs the build made, in build/demo/project"
rm -rf build/demo
python3 scripts/stage-sample.py --project build/win64 dist/win64 build/demo/project

echo
echo "== zrpack builds its package with the kit of dist/win64"
zrpack=dist/bin/zrpack
"$zrpack" build build/demo/project --kit dist/win64 -o build/demo/SampleToolSetup.exe
"$zrpack" verify build/demo/SampleToolSetup.exe
"$zrpack" list build/demo/SampleToolSetup.exe | sed 's/^/   /'

exec scripts/wine-session scripts/demo-run.sh "$top/build/demo"
