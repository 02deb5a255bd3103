# Sourced by the scripts that talk to the update fixture server.
# start_update_fixture SITE SECONDS PORTS_FILE: serves SITE for SECONDS and waits for its ports;
# sets update_server (its process, to be killed by the caller), http_port and silent_port.
start_update_fixture() {
  /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/update_fixture_server.py" "$1" "$2" >"$3" 2>&1 </dev/null &
  update_server=$!
  for _ in $(seq 100); do
    http_port=$(sed -n 's/^http \([0-9]*\)$/\1/p' "$3")
    silent_port=$(sed -n 's/^silent \([0-9]*\)$/\1/p' "$3")
    [ -n "$http_port" ] && [ -n "$silent_port" ] && return 0
    sleep 0.1
  done
  echo "update fixture server did not start: $(cat "$3")" >&2
  return 1
}
# stop_update_fixture: ends the server that start_update_fixture started, if any.
stop_update_fixture() {
  [ -n "${update_server:-}" ] && { kill "$update_server" 2>/dev/null; wait "$update_server" 2>/dev/null; }
  update_server=
}
