#!/usr/bin/env bash
# Runs the Windows update-check tests under Wine against loopback servers started here: one serving
# a scratch folder the tests fill with version.php files, one that never answers, and a closed port.
# Usage: run_update_check_tests.sh TEST_EXE WINE_RUN [test arguments]
set -u
test_exe=$1 wine_run=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/update_fixture.bash"
work=$(mktemp -d)
cleanup() {
  stop_update_fixture
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/site"
start_update_fixture "$work/site" 600 "$work/ports" || exit 1
# A port that was free a moment ago: nothing listens there.
closed_port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')

TESSARO_UPDATE_SITE="Z:$work/site" TESSARO_UPDATE_HTTP_PORT=$http_port TESSARO_UPDATE_SILENT_PORT=$silent_port \
  TESSARO_UPDATE_CLOSED_PORT=$closed_port "$wine_run" "$test_exe" "${@:3}"
