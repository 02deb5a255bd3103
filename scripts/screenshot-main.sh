#!/usr/bin/env bash
# Starts tessaro.exe, waits until its main window is painted, saves a picture of the screen and
# closes the program as a user would (WM_CLOSE, so it saves its settings and exits by itself).
# Usage: screenshot-main.sh [output.png]. Runs on a private Xvfb unless DISPLAY is reachable
# and TESSARO_SCREENSHOT_DISPLAY=current is set.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$here/build/screenshots/main.png}")
if [ "${TESSARO_SCREENSHOT_DISPLAY:-}" != current ]; then
  export TESSARO_SCREENSHOT_DISPLAY=current
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$out"
fi
bin=$here/build/windows/bin
for f in tessaro.exe main_window_probe.exe; do
  [ -f "$bin/$f" ] || { echo "missing $bin/$f: build it with make run or make screenshots" >&2; exit 1; }
done
mkdir -p "$(dirname "$out")"
"$here/scripts/wine-run.sh" "$bin/tessaro.exe" &
app=$!
if ! "$here/scripts/wine-run.sh" "$bin/main_window_probe.exe" wait 60000; then
  kill "$app" 2>/dev/null || true
  exit 1
fi
import -window root "$out"
"$here/scripts/wine-run.sh" "$bin/main_window_probe.exe" close || kill "$app" 2>/dev/null || true
wait "$app" || true
# Let the prefix's helper processes end while this display still exists.
WINEPREFIX=${WINEPREFIX:-$here/build/windows/wineprefix} wineserver -w || true
echo "Screenshot of the main window: $out"
