#!/usr/bin/env bash
# Builds and starts the demo on the sample texture, in the run folder (run/ in this checkout).
# Installs only what building and running need; needs a display (an X or Wayland session, or a
# virtual one), which it looks for first, before installing or building anything.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<MESSAGE
run: there is no display to show the demo on (neither DISPLAY nor WAYLAND_DISPLAY is set).
Run this from a desktop session, or on a virtual display:
    apt-get install -y xvfb xauth
    xvfb-run -a -s "-screen 0 640x480x24" bash $root/scripts/run.sh
Nothing was installed or built.
MESSAGE
  exit 1
fi

"$root/scripts/install-deps.sh" run

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DROTOZOOM_TESTS=OFF \
  -DROTOZOOM_BENCH=OFF
cmake --build "$build" --target rotozoom make-texture engine-showcase

mkdir -p "$root/run"
cd "$root/run"
# The sample, unless a texture is already there (yours, or one made before).
[ -f texture.bmp ] || "$build/tools/make-texture" texture.bmp
exec "$build/demo/rotozoom"
