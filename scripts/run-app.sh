#!/usr/bin/env bash
# Starts Orvell Tessaro under Wine. With a reachable display the window opens there; without one the
# program is started on a private Xvfb and photographed into build/screenshots/main.png.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
exe=$here/build/windows/bin/tessaro.exe
if [ "${TESSARO_SCREENSHOT_DISPLAY:-}" != current ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$here/scripts/wine-run.sh" "$exe"
fi
if [ "${TESSARO_SCREENSHOT_DISPLAY:-}" != current ]; then
  echo "No display reachable: starting the program on a private Xvfb for a screenshot."
  export TESSARO_SCREENSHOT_DISPLAY=current
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0"
fi
out=$here/build/screenshots/main.png
mkdir -p "$(dirname "$out")"
"$here/scripts/wine-run.sh" "$exe" &
xdotool search --sync --onlyvisible --name '^Orvell Tessaro' >/dev/null
sleep 3
import -window root "$out"
WINEPREFIX=${WINEPREFIX:-$here/build/windows/wineprefix} wineserver -k || true
wait || true
echo "Screenshot of the main window: $out"
