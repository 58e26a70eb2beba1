#!/usr/bin/env bash
# Runs the texture fuzzer for SECONDS from the seed corpus, keeping what it finds in a
# temporary corpus (the repository's seeds are not touched). Any crash, leak or sanitizer
# report fails it, with the input that caused it kept in ARTIFACTS; the inputs it found are
# then replayed through the demo in child processes (replay_corpus.sh).
#   run_fuzzer.sh FUZZER SEED_CORPUS SECONDS ARTIFACTS CAPTURE_PROGRAM
set -euo pipefail
fuzzer="$1"
seeds="$2"
seconds="$3"
artifacts="$4"
capture="$5"
here="$(dirname "$0")"
found="$(mktemp -d)"
trap 'rm -rf "$found" "$found.log"' EXIT
mkdir -p "$artifacts"
status=0
"$fuzzer" "$found" "$seeds" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
  -max_len=65536 -artifact_prefix="$artifacts/" -print_final_stats=1 > "$found.log" 2>&1 ||
  status=$?
grep -E "^(#[0-9]+[[:space:]]+(INITED|DONE)|stat::|Done)" "$found.log" || true
if [ "$status" -ne 0 ]; then
  tail -60 "$found.log"
  echo "FAILED: the fuzzer stopped with status $status; the input is in $artifacts"
  exit 1
fi
echo "corpus after fuzzing: $(find "$found" -type f | wc -l) new inputs"
"$here/replay_corpus.sh" "$capture" "$found"
