#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's private prefix.
# The prefix is made once by scripts/wine-prefix.sh; this never touches ~/.wine.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/windows/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
"$here/scripts/wine-prefix.sh" "$WINEPREFIX"
# Wine's own background processes (server, services, desktop) would inherit our output pipes and
# outlive the program, so a caller reading them (ctest) would wait for every other Wine program to
# end. They get a file instead, which is passed on once the program has ended.
output=$(mktemp)
trap 'rm -f "$output"' EXIT
status=0
wine "$@" >"$output" 2>&1 </dev/null || status=$?
cat "$output"
exit "$status"
