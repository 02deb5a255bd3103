#!/usr/bin/env bash
# Runs the DPI tests of TEST_EXE under Wine in a private prefix whose screen has DPI pixels per inch,
# made once beside the usual one.
# Usage: run-at-dpi.sh DPI TEST_EXE
set -u
dpi=$1
test_exe=$2
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=$here/build/windows/wineprefix-$dpi
export TESSARO_DPI=$dpi
"$here/scripts/wine-prefix.sh" "$WINEPREFIX" "$dpi" || exit 1
"$here/scripts/wine-run.sh" "$test_exe" --gtest_filter='HighDpi.*'
status=$?
wineserver -k 2>/dev/null
exit "$status"
