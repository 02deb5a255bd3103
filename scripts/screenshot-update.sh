#!/usr/bin/env bash
# Pictures of the update notice (update.png: the main window after a loopback server announced a
# newer version) and of the About window (about.png). update_screenshots.exe poses each window and
# leaves NAME.ready with its screen rectangle; this script takes the picture and removes the file.
# Usage: screenshot-update.sh [output folder]. Runs on a private Xvfb.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$here/build/screenshots}")
if [ "${TESSARO_SCREENSHOT_DISPLAY:-}" != current ]; then
  export TESSARO_SCREENSHOT_DISPLAY=current
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$out"
fi
exe=$here/build/windows/bin/update_screenshots.exe
[ -f "$exe" ] || { echo "missing $exe: build it with make screenshots" >&2; exit 1; }
. "$here/tests/app/update_fixture.bash"
work=$(mktemp -d)
cleanup() {
  stop_update_fixture
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/site" "$out"
cat >"$work/site/version.php" <<'JSON'
{"latestVersion": "0.2.0", "downloadUrl": "https://orvell.example/tessaro/download/", "message": "Faster previews"}
JSON
start_update_fixture "$work/site" 120 "$work/ports"
rm -f "$out/update.ready" "$out/about.ready"
"$here/scripts/wine-run.sh" "$exe" "Z:$out" "http://127.0.0.1:$http_port/" &
tool=$!
for name in update about; do
  for _ in $(seq 600); do
    [ -f "$out/$name.ready" ] && break
    kill -0 "$tool" 2>/dev/null || break
    sleep 0.1
  done
  [ -f "$out/$name.ready" ] || { echo "no $name window to take" >&2; wait "$tool"; exit 1; }
  read -r x y width height <"$out/$name.ready"
  import -window root -crop "${width}x${height}+${x}+${y}" +repage "$out/$name.png"
  rm -f "$out/$name.ready"
done
wait "$tool"
# Let the prefix's helper processes end while this display still exists.
WINEPREFIX=${WINEPREFIX:-$here/build/windows/wineprefix} wineserver -w || true
echo "Screenshots of the update notice and the About window: $out/update.png $out/about.png"
