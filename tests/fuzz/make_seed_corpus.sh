#!/usr/bin/env bash
# Writes the texture fuzzer's seed corpus into OUT_DIR: the sample texture, the sample cut at
# each boundary of its headers and table and inside its pixels, a 600-byte file, and the
# bitmaps of seed-bitmaps (depths, run-length, top-down, lying headers).
#   make_seed_corpus.sh MAKE_TEXTURE SEED_BITMAPS OUT_DIR
set -euo pipefail
make_texture="$1"
seed_bitmaps="$2"
out="$3"
mkdir -p "$out"
"$make_texture" "$out/sample.bmp" > /dev/null
for bytes in 0 2 13 14 18 30 53 54 600 1077 1078 9270 17461; do
  head -c "$bytes" "$out/sample.bmp" > "$out/sample-cut-$bytes.bmp"
done
"$seed_bitmaps" "$out"
