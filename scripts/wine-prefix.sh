#!/usr/bin/env bash
# Creates a Wine prefix (once) set up for running tests without a window manager.
set -eu
prefix=$1
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
[ -f "$prefix/.tessaro-ready" ] && exit 0
mkdir -p "$prefix"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.tessaro-ready" ] && exit 0
wineboot -i >/dev/null 2>&1 || true
# Without a window manager Wine waits about 2 s whenever a dialog closes unless windows are unmanaged.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
touch "$prefix/.tessaro-ready"
