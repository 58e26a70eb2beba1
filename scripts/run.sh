#!/usr/bin/env bash
# Installs what is needed, builds the Release configuration, and runs what it built.
# The demo program lands in a later change; until then this runs the per-frame benchmarks,
# which exercise the effect core on the headless screen.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/install-deps.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build"

"$build/bench/frame_bench" "$@"
