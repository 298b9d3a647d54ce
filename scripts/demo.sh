#!/usr/bin/env bash
# make demo: lays the sample product out as its package would unpack it, runs
# setup.exe there under Wine on a virtual display, lets the robot press the
# buttons a user would, and prints what the installation left on the machine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

echo "== The kit, as built"
for f in dist/win32/* dist/win64/*; do
  [ -f "$f" ] && printf '   %-28s %9d bytes\n' "$f" "$(stat -c %s "$f")"
done

echo
echo "== The sample package (examples/sample), unpacked into build/demo/package"
python3 scripts/stage-sample.py build/win64 dist/win64 build/demo/package

exec scripts/wine-session scripts/demo-run.sh "$top/build/demo"
