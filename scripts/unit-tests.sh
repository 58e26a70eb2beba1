#!/usr/bin/env bash
# The developers' quick loop: the unit tests alone (no fuzzing, no end-to-end, no Windows
# build), in the AddressSanitizer and UndefinedBehaviorSanitizer build, each test in its own
# process. A minute or two from a fresh build, seconds after a small change. Extra arguments go
# to CTest, for example -R 'Palette|Blt' to run some of them.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/install-deps.sh" test

build="$root/build/sanitize"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DROTOZOOM_SANITIZE=ON \
  -DROTOZOOM_BENCH=OFF -DROTOZOOM_E2E=OFF
cmake --build "$build"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" -LE 'e2e|wine|long' "$@"
