#!/usr/bin/env bash
# Creates a Wine prefix (once) set up for running tests without a window manager; with a DPI, its
# screen has that many pixels per inch (96 is 100%).
# Usage: wine-prefix.sh PREFIX [DPI]
set -eu
prefix=$1 dpi=${2:-}
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
[ -f "$prefix/.tessaro-ready" ] && exit 0
mkdir -p "$prefix"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.tessaro-ready" ] && exit 0
wineboot -i >/dev/null 2>&1 || true
# Without a window manager Wine waits about 2 s whenever a dialog closes unless windows are unmanaged.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
if [ -n "$dpi" ]; then
  for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  done
fi
wineserver -w
touch "$prefix/.tessaro-ready"
