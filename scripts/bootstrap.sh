#!/usr/bin/env bash
# Installs what the kit's build and tests need on a Debian machine and fetches
# minizip's source. Safe to run again: when everything is present it only checks
# and returns. Needs root for apt-get when something is missing.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
deps="$top/build/deps"

# command or file that proves the package is there -> package
declare -A need=(
  [/usr/bin/x86_64-w64-mingw32-g++-posix]=g++-mingw-w64-x86-64
  [/usr/bin/i686-w64-mingw32-g++-posix]=g++-mingw-w64-i686
  [/usr/bin/x86_64-w64-mingw32-windres]=binutils-mingw-w64-x86-64
  [/usr/bin/i686-w64-mingw32-windres]=binutils-mingw-w64-i686
  [/usr/x86_64-w64-mingw32/include/zlib.h]=libz-mingw-w64-dev
  [/usr/include/zlib.h]=zlib1g-dev
  [/usr/include/minizip/unzip.h]=libminizip-dev
  [/usr/lib/wine/wine64]=wine64
  [/usr/bin/Xvfb]=xvfb
  [/usr/bin/import]=imagemagick
  [/usr/src/googletest/CMakeLists.txt]=googletest
  [/usr/bin/cmake]=cmake
  [/usr/bin/g++]=g++
  [/usr/bin/clang++]=clang
  [/usr/bin/make]=make
  [/usr/bin/pkg-config]=pkg-config
  [/usr/bin/file]=file
  [/usr/bin/ninja]=ninja-build
  [/usr/bin/bzip2]=bzip2
  [/usr/bin/python3]=python3
)
# libFuzzer and the sanitizer runtimes for clang
for f in /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a; do
  [ -e "$f" ] && have_fuzzer=1
done
missing=()
for probe in "${!need[@]}"; do
  [ -e "$probe" ] || missing+=("${need[$probe]}")
done
[ "${have_fuzzer:-0}" = 1 ] || missing+=(libclang-rt-dev)

apt_updated=0
apt_update() {
  [ "$apt_updated" = 1 ] && return
  apt-get update -qq
  apt_updated=1
}

export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "bootstrap: missing packages: ${missing[*]}; run as root to install them" >&2
    exit 1
  fi
  echo "bootstrap: installing ${missing[*]}"
  apt_update
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# minizip for the Windows targets: not packaged for MinGW, so its source comes
# from Debian's zlib source package and is compiled per target by CMake.
if [ ! -f "$deps/minizip/unzip.c" ]; then
  srcdeb=/etc/apt/sources.list.d/zr-deb-src.sources
  if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    . /etc/os-release
    uri=$(awk '/^URIs:/ && /debian\/?$/ {print $2; exit}' /etc/apt/sources.list.d/*.sources 2>/dev/null || true)
    [ -n "$uri" ] || uri=http://deb.debian.org/debian
    printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "$uri" "$VERSION_CODENAME" > "$srcdeb"
    apt_updated=0
  fi
  apt_update
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  (cd "$work" && apt-get source --download-only -qq zlib >/dev/null)
  orig=$(ls "$work"/zlib_*.orig.tar.* | head -n 1)
  tar -xf "$orig" -C "$work"
  src=$(ls -d "$work"/zlib-*/contrib/minizip | head -n 1)
  mkdir -p "$deps/minizip.new"
  cp "$src"/{unzip.c,unzip.h,ioapi.c,ioapi.h,zip.c,zip.h,crypt.h} "$deps/minizip.new/"
  rm -rf "$deps/minizip"
  mv "$deps/minizip.new" "$deps/minizip"
  echo "bootstrap: minizip source in $deps/minizip"
fi
