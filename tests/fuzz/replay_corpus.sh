#!/usr/bin/env bash
# Every file of the texture corpus (the seed corpus, and whatever the fuzzer found) as the
# demo's texture.bmp, each in a child process running the demo's own start-up and two frames
# on the headless screen: it either runs (status 0, two frames written) or ends with the
# file-not-found message and status 1. Anything else (a crash, a sanitizer report, a hang)
# fails the test.
#   replay_corpus.sh CAPTURE_PROGRAM CORPUS_DIR...
set -euo pipefail
capture="$(realpath "$1")"
shift
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
runs=0 refused=0 failed=0
for file in $(find "$@" -type f | sort); do
  rm -rf "$work/run" && mkdir "$work/run" && cp "$file" "$work/run/texture.bmp"
  status=0
  (cd "$work/run" && timeout 60 "$capture" 2 > out 2> err) || status=$?
  if [ "$status" -eq 0 ] && [ -f "$work/run/frame-00001.png" ]; then
    runs=$((runs + 1))
  elif [ "$status" -eq 1 ] && grep -q "texture.bmp ファイルが見つかりません" "$work/run/err"; then
    refused=$((refused + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $file: status $status"
    head -c 2000 "$work/run/err"
  fi
done
echo "corpus replay: $runs ran, $refused refused with the file-not-found message, $failed failed"
[ "$failed" -eq 0 ] && [ $((runs + refused)) -gt 0 ]
