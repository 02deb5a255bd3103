#!/usr/bin/env bash
# Runs the native, sanitizer and Wine test suites (the native ones replay the fuzz corpora too) and
# prints one summary line for all of them.
set -uo pipefail
cd "$(dirname "$0")/.."
passed=0 failed=0
run_suite() {
  local label=$1; shift
  echo "== $label"
  local out
  out=$(mktemp)
  "$@" 2>&1 | tee "$out"
  local line
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$out" | tail -n 1)
  if [ -z "$line" ]; then
    echo "$label: no test summary"
    failed=$((failed + 1))
  else
    local f total
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - f)); failed=$((failed + f))
  fi
  rm -f "$out"
}
ctest_args=(--output-on-failure --timeout 900 -j "$(nproc)")
run_suite native ctest --test-dir build/native "${ctest_args[@]}"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite sanitizers ctest --test-dir build/asan "${ctest_args[@]}"
scripts/wine-prefix.sh "$PWD/build/windows/wineprefix"
run_suite wine xvfb-run -a -s "-screen 0 1600x1000x24" ctest --test-dir build/windows "${ctest_args[@]}"
WINEPREFIX="$PWD/build/windows/wineprefix" wineserver -k 2>/dev/null || true
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
