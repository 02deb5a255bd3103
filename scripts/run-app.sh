#!/usr/bin/env bash
# Starts Orvell Tessaro under Wine. With a reachable display the window opens there; without one
# the program is started on a private Xvfb, photographed and closed (see screenshot-main.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$here/scripts/wine-run.sh" "$here/build/windows/bin/tessaro.exe"
fi
echo "No display reachable: starting the program on a private Xvfb for a screenshot."
exec "$here/scripts/screenshot-main.sh" "$here/build/screenshots/main.png"
