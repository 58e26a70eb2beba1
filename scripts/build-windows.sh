#!/usr/bin/env bash
# Installs what is needed and cross-compiles the Windows programs with mingw-w64 (x86-64, GUI
# subsystem, on the system's DirectDraw, GDI, user32 and winmm): build/windows/demo/rotozoom.exe
# and build/windows/examples/showcase/engine-showcase.exe, each a single file.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/install-deps.sh" package

build="$root/build/windows"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
cmake --build "$build"
