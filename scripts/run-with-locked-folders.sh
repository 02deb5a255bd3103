#!/usr/bin/env bash
# Runs the save fault tests under Wine with read-only folders that the Windows side cannot make
# itself: Wine keeps no folder permissions of its own, and root ignores Unix ones, so a folder is
# locked with chmod and, where that is not enough, chattr +i.
#  1. every test, with a locked folder holding caja.dxf and caja.boxproj (TESSARO_LOCKED_FOLDER);
#  2. the locked settings test, with the prefix's settings folder locked around a settings.json.
# A machine that cannot lock a folder runs the rest and the tests say what they skipped.
# Usage: run-with-locked-folders.sh TEST_EXE WINE_RUN
set -u
test_exe=$1
wine_run=$2
repo=$(cd "$(dirname "$0")/.." && pwd)
prefix=${WINEPREFIX:-$repo/build/windows/wineprefix}
work=$(mktemp -d)
locked=()

# Makes folder $1 read-only for this user, root included; false when this machine cannot.
lock() {
  chmod a-w "$1"
  if touch "$1/.probe" 2>/dev/null; then
    rm -f "$1/.probe"
    chattr +i "$1" 2>/dev/null || true
  fi
  locked+=("$1")
  if touch "$1/.probe" 2>/dev/null; then
    rm -f "$1/.probe"
    echo "note: $1 cannot be made read-only here" >&2
    return 1
  fi
}
unlock_all() {
  for folder in "${locked[@]}"; do
    chattr -i "$folder" 2>/dev/null
    chmod u+w "$folder"
  done
  locked=()
}
cleanup() {
  unlock_all
  rm -rf "$work"
}
trap cleanup EXIT

mkdir "$work/locked"
printf 'the maker%ss earlier DXF\n' "'" >"$work/locked/caja.dxf"
printf '{"format": "the maker%ss earlier project"}\n' "'" >"$work/locked/caja.boxproj"
if lock "$work/locked"; then
  TESSARO_LOCKED_FOLDER="Z:$work/locked" "$wine_run" "$test_exe" --gtest_filter=-LockedSettingsFolder.*
else
  "$wine_run" "$test_exe" --gtest_filter=-LockedSettingsFolder.*
fi
status=$?
unlock_all

roaming=$(ls -d "$prefix"/drive_c/users/*/AppData/Roaming 2>/dev/null | head -n 1)
if [ -z "$roaming" ]; then
  echo "no roaming folder in $prefix" >&2
  exit 1
fi
settings=$roaming/Orvell/Tessaro
rm -rf "$roaming/Orvell"
mkdir -p "$settings"
printf '{\n  "language": "pt",\n  "units": "in",\n  "widthMm": 123.5\n}\n' >"$settings/settings.json"
if lock "$settings"; then
  TESSARO_SETTINGS_FOLDER_LOCKED=1 "$wine_run" "$test_exe" --gtest_filter=LockedSettingsFolder.* || status=1
else
  "$wine_run" "$test_exe" --gtest_filter=LockedSettingsFolder.* || status=1
fi
unlock_all
rm -rf "$roaming/Orvell"
exit "$status"
