#!/usr/bin/env bash
# Runs every fuzz target of build/fuzz for a while over its committed seeds.
#   scripts/run-fuzz.sh SECONDS          a real session: the corpus grows in build/fuzz/corpus/<target>
#   scripts/run-fuzz.sh SECONDS --smoke  a short check over the seeds alone, with a throw-away corpus
# Prints one line per target (executions per second, or where the crashing input was kept) and a
# last line "N fuzz targets passed, M failed"; fails when any target found a fault.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?seconds}
smoke=${2:-}
build=build/fuzz
mkdir -p "$build/logs" "$build/artifacts"
scratch=$(mktemp -d "$build/smoke.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
passed=0 failed=0
for binary in "$build"/bin/fuzz_*; do
  [ -x "$binary" ] || continue
  target=$(basename "$binary")
  seeds=fuzz/corpus/$target
  if [ -n "$smoke" ]; then
    corpus=$scratch/$target
  else
    corpus=$build/corpus/$target
  fi
  mkdir -p "$corpus"
  [ -d "$seeds" ] && cp -rn "$seeds"/. "$corpus"/
  log=$build/logs/$target.log
  "$binary" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$target-" >"$log" 2>&1
  status=$?
  rate=$(sed -nE 's/^stat::average_exec_per_sec: *([0-9]+)/\1/p' "$log" | tail -n 1)
  runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' "$log" | tail -n 1)
  if [ "$status" -eq 0 ] && [ -n "$rate" ]; then
    printf '%-28s %8s execs/s  %9s runs  corpus %s\n' "$target" "$rate" "$runs" "$(ls "$corpus" | wc -l)"
    passed=$((passed + 1))
  else
    artifact=$(sed -nE 's/.*Test unit written to (.*)$/\1/p' "$log" | tail -n 1)
    printf '%-28s FAILED (exit %s) input: %s, log: %s\n' "$target" "$status" "${artifact:-none}" "$log"
    grep -E 'invariant failed|ERROR|SUMMARY|^design ' "$log" | head -n 5 | sed 's/^/    /'
    failed=$((failed + 1))
  fi
done
echo "$passed fuzz targets passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
