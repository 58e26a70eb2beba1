#!/usr/bin/env bash
# Installs what is needed, builds the Release configuration, and starts the demo on the
# sample texture in the run folder (run/ in this checkout). Needs a display: an X or Wayland
# session, or Xvfb.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/install-deps.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build"

mkdir -p "$root/run"
cd "$root/run"
# The sample, unless a texture is already there (yours, or one made before).
[ -f texture.bmp ] || "$build/tools/make-texture" texture.bmp
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display (DISPLAY is not set); under Xvfb: xvfb-run -a -s \"-screen 0 640x480x24\" $0" >&2
fi
exec "$build/app/rotozoom"
