#!/usr/bin/env bash
# Runs the Windows server-export tests under Wine against the native reference DXF server and the
# export fixture, each started here on a free loopback port and stopped afterwards.
# Usage: run_server_export_tests.sh NATIVE_BIN_DIR TEST_EXE WINE_RUN
set -u
native_bin=$1 test_exe=$2 wine_run=$3
for program in tessaro-dxf-server export-fixture-server; do
  if [ ! -x "$native_bin/$program" ]; then
    echo "missing $native_bin/$program: build the native tree first (make native)" >&2
    exit 1
  fi
done
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

# Starts a program that prints "listening on http://HOST:PORT/"; sets started_port to that port.
start() {
  local out=$work/$1.out
  "$native_bin/$1" "${@:2}" >"$out" 2>&1 </dev/null &
  pids+=($!)
  for _ in $(seq 100); do
    started_port=$(sed -n 's|^listening on http://[^:]*:\([0-9]*\)/$|\1|p' "$out")
    [ -n "$started_port" ] && return 0
    sleep 0.1
  done
  echo "$1 did not start: $(cat "$out")" >&2
  return 1
}

start tessaro-dxf-server --port 0 || exit 1
server_port=$started_port
start export-fixture-server || exit 1
fixture_port=$started_port
# A port that was free a moment ago: nothing listens there.
closed_port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')

TESSARO_DXF_SERVER_PORT=$server_port TESSARO_FIXTURE_PORT=$fixture_port TESSARO_CLOSED_PORT=$closed_port \
  "$wine_run" "$test_exe"
