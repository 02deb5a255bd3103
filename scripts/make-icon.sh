#!/usr/bin/env bash
# Remakes src/app/icon/tessaro.ico from the hand-drawn SVGs beside it: 16 pixels from tessaro-small.svg,
# 32, 48 and 256 from tessaro.svg. The .ico is committed, so only a changed drawing needs this.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
icon=$here/src/app/icon
"$here/scripts/install-deps.sh" librsvg2-bin imagemagick
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rsvg-convert -w 16 -h 16 "$icon/tessaro-small.svg" -o "$work/16.png"
for size in 32 48 256; do rsvg-convert -w "$size" -h "$size" "$icon/tessaro.svg" -o "$work/$size.png"; done
convert "$work/16.png" "$work/32.png" "$work/48.png" "$work/256.png" "$icon/tessaro.ico"
identify "$icon/tessaro.ico"
