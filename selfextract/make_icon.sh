#!/usr/bin/env bash
# Draws the stub's icon (selfextract.ico): a parcel with an arrow pointing out of
# it, at 32x32 and 16x16. The images are 16-colour bitmaps with a one-bit mask,
# the icon format every Windows from 95 on shows (32-bit and PNG icons need XP or
# Vista). Run from this folder; needs ImageMagick.
set -eu
draw() {
  local size=$1 out=$2
  convert -size 32x32 xc:none \
    -fill '#b07a3c' -stroke '#5a3a14' -strokewidth 1 -draw 'rectangle 3,12 28,29' \
    -fill '#d9a766' -draw 'polygon 3,12 9,6 22,6 28,12' \
    -stroke '#5a3a14' -draw 'line 15,12 15,29' \
    -fill '#1f5fbf' -stroke '#0c2f66' -draw 'polygon 15,1 24,10 19,10 19,19 11,19 11,10 6,10' \
    -resize "${size}x${size}" -channel A -threshold 50% +channel -colors 16 -type PaletteAlpha "$out"
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
draw 32 "$tmp/32.png"
draw 16 "$tmp/16.png"
convert "$tmp/32.png" "$tmp/16.png" -colors 16 -type PaletteAlpha selfextract.ico
