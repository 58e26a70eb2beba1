#!/usr/bin/env bash
# The end-to-end set run many times in a row on a machine kept busy, to find tests (or
# programs) that fail only under load: two CPU-bound processes run at the tests' priority
# throughout. Run by hand, not by the test command; it takes long (a run of the set is a few
# minutes on two cores).
#   tests/e2e/repeat_under_load.sh [BUILD [RUNS [TEST-REGEX]]]
# BUILD: a Release build with the end-to-end tests (default build/release); RUNS: how many
# times (default 20); TEST-REGEX: which tests (default the e2e label's). Each run's output goes
# to BUILD/repeat-under-load/run-N.log; a summary line per run, and the failures at the end.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build/release}" && pwd)"
runs="${2:-20}"
select=(-L e2e)
[ -n "${3:-}" ] && select=(-R "$3")
logs="$build/repeat-under-load"
mkdir -p "$logs"

burners=()
stop_burners() { for b in "${burners[@]}"; do kill "$b" 2>/dev/null || true; done; }
trap stop_burners EXIT
for _ in 1 2; do
  sh -c 'while :; do :; done' &
  burners+=($!)
done

failed=0
for n in $(seq 1 "$runs"); do
  start=$(date +%s)
  if ctest --test-dir "$build" "${select[@]}" --output-on-failure > "$logs/run-$n.log" 2>&1; then
    echo "run $n: passed ($(( $(date +%s) - start )) s, load $(cut -d' ' -f1 /proc/loadavg))"
  else
    failed=$((failed + 1))
    echo "run $n: FAILED ($(( $(date +%s) - start )) s): $(grep -E '^\s+[0-9]+ - ' "$logs/run-$n.log" | tr -s ' ' | tr '\n' ';')"
  fi
done
echo "$((runs - failed)) of $runs runs passed under load; logs in $logs"
[ "$failed" -eq 0 ]
