#!/usr/bin/env bash
# Draws the launcher's icon (a start arrow on a blue tile) and writes launcher.ico: 16, 24, 32 and 48
# pixels, each once with a 256-colour palette and once in 32-bit colour with alpha. Needs ImageMagick.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for s in 16 24 32 48; do
  r=$((s - 1)) q=$((s / 4)) m=$((s / 2)) c=$((s / 6))
  convert -size "${s}x${s}" gradient:'#3f8fe0'-'#0f2f68' \
    \( -size "${s}x${s}" xc:none -fill white -draw "roundrectangle 0,0 $r,$r $c,$c" \) \
    -alpha off -compose CopyOpacity -composite \
    -fill '#f4c542' -stroke '#b07d10' -strokewidth 1 \
    -draw "polygon $q,$q $((s - q)),$m $q,$((s - q))" "$work/true$s.png"
  # More than 16 colours in every size, so the palette images are written at 8 bits per pixel.
  convert "$work/true$s.png" -background '#1f5fa8' -flatten -colors 256 -type Palette "$work/pal$s.png"
done
convert "$work"/pal{16,24,32,48}.png "$work"/true{16,24,32,48}.png "$here/launcher.ico"
