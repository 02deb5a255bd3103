#!/usr/bin/env bash
# Pictures of the main window (plan, also at 150%, dividers and server groups, GDI and Direct3D views),
# the update notice and the About window in build/screenshots, posed and saved by screenshot_poses.exe,
# and icon.png: the icon at each size. Runs on a private Xvfb.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$here/build/screenshots
if [ "${TESSARO_SCREENSHOT_DISPLAY:-}" != current ]; then
  export TESSARO_SCREENSHOT_DISPLAY=current
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0"
fi
exe=$here/build/windows/bin/screenshot_poses.exe
if [ ! -f "$exe" ]; then
  echo "missing $exe: build it with make screenshots" >&2
  exit 1
fi
work=$(mktemp -d)
server=
cleanup() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/site" "$out"
cat >"$work/site/version.php" <<'JSON'
{"latestVersion": "0.2.0", "downloadUrl": "https://orvell.example/tessaro/download/", "message": "Faster previews"}
JSON
/usr/bin/python3 "$here/scripts/site-server.py" "$work/site" 300 >"$work/ports" 2>&1 </dev/null &
server=$!
for _ in $(seq 100); do
  grep -q '^silent' "$work/ports" && break
  sleep 0.1
done
port=$(sed -n 's/^http \([0-9]*\)$/\1/p' "$work/ports")
rm -f "$out"/*.ppm
"$here/scripts/wine-run.sh" "$exe" "Z:$out" "http://127.0.0.1:$port/"
for picture in "$out"/*.ppm; do
  convert "$picture" "${picture%.ppm}.png" && rm "$picture"
done
convert "$here/src/app/icon/tessaro.ico" -background none -gravity south +append +repage "$out/icon.png"
# Let the prefix's helper processes end while this display still exists.
WINEPREFIX=${WINEPREFIX:-$here/build/windows/wineprefix} wineserver -w || true
ls "$out"
