#!/usr/bin/env bash
# fuzz.sh [SECONDS]: runs every fuzz target for SECONDS (default 300) on its seed
# corpus. New interesting inputs collect in build/fuzz/fuzz-corpus/<target>;
# crashes are written to build/fuzz/crashes/. Copy a crash that shows a real
# fault into the target's corpus folder under tests/fuzz/corpus once it is fixed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
status=0
mkdir -p "$top/build/fuzz/crashes"
for target in "$top"/build/fuzz/fuzz/*_fuzz; do
  name=$(basename "$target")
  seeds="$top/tests/fuzz/corpus/${name%_fuzz}"
  work="$top/build/fuzz/fuzz-corpus/$name"
  mkdir -p "$work"
  echo "== $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
       -artifact_prefix="$top/build/fuzz/crashes/$name-" "$work" "$seeds"; then
    status=1
  fi
done
exit $status
