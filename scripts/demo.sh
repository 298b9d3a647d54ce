#!/usr/bin/env bash
# Shows what the build made. (Grows into a full run of the sample product as the
# programs come into existence.)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
echo "The kit, as built:"
for dir in dist/win32 dist/win64 dist/bin; do
  [ -d "$dir" ] || continue
  echo "  $dir/ ($( [ "$dir" = dist/win32 ] && echo 'release build for 32-bit Windows' || { [ "$dir" = dist/win64 ] && echo 'x86_64 build, the one that runs under wine64 here' || echo 'native tools for Linux'; }))"
  for f in "$dir"/*; do
    [ -e "$f" ] || continue
    printf '    %-20s %8d bytes  %s\n' "$(basename "$f")" "$(stat -c %s "$f")" "$(file -b "$f" | cut -c1-60)"
  done
done
