#!/usr/bin/env bash
# Unpacks the release zip into a fresh folder and runs a Windows test program under Wine with
# TESSARO_UNPACKED naming that folder.
# Usage: run-unpacked.sh ZIP TEST_EXE WINE_RUN
set -eu
zip=$1
test_exe=$2
wine_run=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$zip")
TESSARO_UNPACKED="Z:$work" "$wine_run" "$test_exe"
