#!/usr/bin/env bash
# package.sh [MB]: check-and-unpack figures for a package of about MB megabytes
# (default 200) of mixed files, side by side with their references:
#   - natively: computeCrc alone and the whole check and unpack, against a plain
#     copy of the same bytes on the same disk, with each phase's peak memory;
#   - under Wine: our package against an NSIS installer (zlib, amd64 stub) of the
#     same payload, both extracting into a folder without asking anything;
#   - the size of the release stub, stripped, which heads every package.
# Run by `make bench` inside a Wine session (scripts/wine-session).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
mb=${1:-200}
work=$top/build/bench/work
bench=$top/build/bench/bench/package_bench
stub64=$top/dist/win64/selfextract.exe
noop=$top/build/win64/bench/bench_noop.exe

command -v makensis >/dev/null || { echo "bench: makensis is missing (apt-get install nsis)" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work"

# Best of three runs of one phase; prints "seconds peak_kb".
best() {
  local best_s="" best_kb=0 line s kb
  for _ in 1 2 3; do
    [ -n "${CLEAN:-}" ] && rm -rf "$CLEAN"
    line=$("$@" | tail -1)
    s=${line#seconds=}; s=${s%% *}
    kb=${line##*peak_kb=}
    if [ -z "$best_s" ] || awk "BEGIN{exit !($s < $best_s)}"; then best_s=$s; fi
    [ "$kb" -gt "$best_kb" ] && best_kb=$kb
  done
  echo "$best_s $best_kb"
}
rate() { awk -v b="$1" -v s="$2" 'BEGIN{printf "%8.1f MB/s", b / 1048576 / s}'; }

echo "== payload"
"$bench" make "$work/payload" "$mb"
"$bench" pack "$stub64" "$work/payload" "$noop" "$work/package.exe" >/dev/null
bytes=$(stat -c %s "$work/package.exe")
printf 'package: %d bytes, %d files\n\n' "$bytes" "$(ls "$work/payload" | wc -l)"

echo "== native: check and unpack ($(nproc) cores, warm page cache)"
read -r crc_s crc_kb < <(best "$bench" crc "$work/package.exe")
read -r unpack_s unpack_kb < <(CLEAN="$work/out" best "$bench" unpack "$work/package.exe" "$work/out")
read -r copy_s copy_kb < <(CLEAN="$work/copy.bin" best "$bench" copy "$work/package.exe" "$work/copy.bin")
# The same bytes as the payload's files: what any unpacker must at least do.
files_s=$(for _ in 1 2 3; do rm -rf "$work/files"; s=$(date +%s.%N); cp -r "$work/payload" "$work/files"; e=$(date +%s.%N)
          awk -v a="$s" -v b="$e" 'BEGIN{printf "%.3f\n", b - a}'; done | sort -n | head -1)
printf '%-34s %s %9s s %8s KB peak\n' "computeCrc alone" "$(rate "$bytes" "$crc_s")" "$crc_s" "$crc_kb"
printf '%-34s %s %9s s %8s KB peak\n' "check and unpack (reads it twice)" "$(rate "$bytes" "$unpack_s")" "$unpack_s" "$unpack_kb"
printf '%-34s %s %9s s %8s KB peak\n' "plain copy of the package file" "$(rate "$bytes" "$copy_s")" "$copy_s" "$copy_kb"
printf '%-34s %s %9s s\n' "cp -r of the payload's files" "$(rate "$bytes" "$files_s")" "$files_s"
rm -rf "$work/out" "$work/copy.bin" "$work/files"
echo

echo "== under Wine: our package against NSIS (zlib, amd64 stub), same payload"
cat > "$work/nsis.nsi" <<NSI
Unicode true
Target amd64-unicode
SetCompressor zlib
OutFile "nsis.exe"
InstallDir "C:\\bench-nsis"
SilentInstall silent
RequestExecutionLevel user
Section
  SetOutPath "\$INSTDIR"
  File "payload/*.*"
SectionEnd
NSI
(cd "$work" && makensis -V1 nsis.nsi)
nsis_bytes=$(stat -c %s "$work/nsis.exe")
wine="$top/scripts/wine-exec"
c_drive="$WINEPREFIX/drive_c/"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
time_of() { local start end; start=$(date +%s.%N); "$@" >/dev/null 2>&1; end=$(date +%s.%N); awk -v a="$start" -v b="$end" 'BEGIN{printf "%.2f", b - a}'; }
ours=() theirs=()
for _ in 1 2 3; do
  ours+=("$(time_of "$wine" "$(winpath "$work/package.exe")")")
  rm -rf "${c_drive}bench-nsis"
  theirs+=("$(time_of "$wine" "$(winpath "$work/nsis.exe")" /S '/D=C:\bench-nsis')")
done
files_nsis=$(ls "${c_drive}bench-nsis" 2>/dev/null | wc -l)
rm -rf "${c_drive}bench-nsis"
ours_s=$(printf '%s\n' "${ours[@]}" | sort -n | head -1)
theirs_s=$(printf '%s\n' "${theirs[@]}" | sort -n | head -1)
printf '%-44s %9s s %12d bytes\n' "our package (check, unpack, run, clean up)" "$ours_s" "$bytes"
printf '%-44s %9s s %12d bytes (%d files extracted)\n' "NSIS installer (unpack only)" "$theirs_s" "$nsis_bytes" "$files_nsis"
awk -v a="$ours_s" -v b="$theirs_s" -v x="$bytes" -v y="$nsis_bytes" \
  'BEGIN{printf "ratio ours/NSIS: time %.2f, size %.2f\n", a / b, x / y}'
echo

echo "== the stub"
if [ -f "$top/dist/win32/selfextract.exe" ]; then
  i686-w64-mingw32-strip -o "$work/stub32.exe" "$top/dist/win32/selfextract.exe"
  printf 'dist/win32/selfextract.exe stripped: %d bytes\n' "$(stat -c %s "$work/stub32.exe")"
fi
x86_64-w64-mingw32-strip -o "$work/stub64.exe" "$stub64"
printf 'dist/win64/selfextract.exe stripped: %d bytes\n' "$(stat -c %s "$work/stub64.exe")"
