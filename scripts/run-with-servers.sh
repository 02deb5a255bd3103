#!/usr/bin/env bash
# Runs a Windows test program under Wine with loopback servers started here and stopped afterwards:
# the native reference DXF server, a file server over a scratch site the tests fill (POST is not
# served there, so it answers an error page), a port that accepts but never answers, and a closed one.
# Usage: run-with-servers.sh NATIVE_BIN_DIR TEST_EXE WINE_RUN
set -u
native_bin=$1
test_exe=$2
wine_run=$3
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT

# Starts a server and waits until its output names the port(s) the pattern picks.
start() {
  local out=$work/$1.out
  local pattern=$2
  shift 2
  "$@" >"$out" 2>&1 </dev/null &
  pids+=($!)
  for _ in $(seq 100); do
    grep -q "$pattern" "$out" && return 0
    sleep 0.1
  done
  echo "$* did not start: $(cat "$out")" >&2
  exit 1
}
mkdir "$work/site"
start dxf 'listening on' "$native_bin/tessaro-dxf-server" --port 0
start site '^silent' /usr/bin/python3 "$(dirname "$0")/site-server.py" "$work/site"
port_of() { sed -n "s|$2|\1|p" "$work/$1.out"; }
# A port where nothing listens: one the system just handed out and took back.
closed_port=$(/usr/bin/python3 -c '
import socket
probe = socket.socket()
probe.bind(("127.0.0.1", 0))
print(probe.getsockname()[1])')

TESSARO_DXF_SERVER_PORT=$(port_of dxf '^listening on http://[^:]*:\([0-9]*\)/$') \
  TESSARO_SITE="Z:$work/site" TESSARO_SITE_PORT=$(port_of site '^http \([0-9]*\)$') \
  TESSARO_SILENT_PORT=$(port_of site '^silent \([0-9]*\)$') TESSARO_CLOSED_PORT=$closed_port "$wine_run" "$test_exe"
