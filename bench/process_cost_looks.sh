#!/usr/bin/env bash
# Whole-process CPU of the demo at 60 Hz in each look, beside a minimal SDL program that
# converts and presents a 320 x 240 picture at the same rate (the floor), on a 1280 x 960 and a
# 1920 x 1080 Xvfb screen with Mesa's software OpenGL: one run of each, all in one session so
# that their ratios hold. On such a GL the demo draws its looks on the processor; each look is
# also measured on the GPU path (ROTOZOOM_RENDERER=gl, labelled gl-LOOK), and the demo on SDL's
# renderer path (ROTOZOOM_RENDERER=sdl), the way it presented before the GPU path. Prints each figure and the X server's share, then the
# ratios to the floor. On a bare X server the floor's full-screen request leaves its window at
# 960 x 720, a half or a third of the screen the demo covers; `floor-full` is the same program
# with its window made the screen's size, the floor for presenting as many pixels as the demo.
# A benchmark, not a test: the figures of a shared machine move.
#
#   bash bench/process_cost_looks.sh [SHARED_BENCH_FOLDER]
#
# SHARED_BENCH_FOLDER holds process_cost.sh and sdl_floor.c (default: ../shared/bench beside
# the checkout). With BASELINE=BUILD_FOLDER (another checkout's build, with its demo/rotozoom),
# that demo runs too, in each look right before this one's (labelled base-LOOK): a before and
# after in the same run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
shared="${1:-$root/../shared/bench}"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" --target rotozoom make-texture > /dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
gcc -O2 "$shared/sdl_floor.c" -o "$work/sdl_floor" $(pkg-config --cflags --libs sdl2)
sed 's/SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 960, 720/0, 0, FLOOR_WIDTH, FLOOR_HEIGHT/' \
  "$shared/sdl_floor.c" > "$work/sdl_floor_full.c"
"$build/tools/make-texture" "$work/texture.bmp"
# The demo in a look: the state file that the screen reads at start-up names it.
cat > "$work/demo-in-look" <<'SCRIPT'
#!/bin/sh
mkdir -p "$XDG_STATE_HOME/rotozoom"
printf 'rotozoom display 1\nmode fullscreen\nwindow 0 0 320 240\nlook %s\n' "$1" \
  > "$XDG_STATE_HOME/rotozoom/rotozoom.display"
shift
exec "$@"
SCRIPT
chmod +x "$work/demo-in-look"

export LIBGL_ALWAYS_SOFTWARE=1
for size in 1280x960 1920x1080; do
  echo "== $size"
  gcc -O2 -DFLOOR_WIDTH="${size%x*}" -DFLOOR_HEIGHT="${size#*x}" "$work/sdl_floor_full.c" \
    -o "$work/sdl_floor_full" $(pkg-config --cflags --libs sdl2)
  {
    FLOOR_60=1 bash "$shared/process_cost.sh" "$size" floor "$work" -- "$work/sdl_floor" 30 full
    FLOOR_60=1 bash "$shared/process_cost.sh" "$size" floor-full "$work" -- \
      "$work/sdl_floor_full" 30 full
    ROTOZOOM_RENDERER=sdl bash "$shared/process_cost.sh" "$size" renderer "$work" -- \
      "$build/demo/rotozoom"
    for look in integer sharp crt; do
      if [ -n "${BASELINE:-}" ]; then
        bash "$shared/process_cost.sh" "$size" "base-$look" "$work" -- "$work/demo-in-look" \
          "$look" "$BASELINE/demo/rotozoom"
      fi
      ROTOZOOM_RENDERER=gl bash "$shared/process_cost.sh" "$size" "gl-$look" "$work" -- \
        "$work/demo-in-look" "$look" "$build/demo/rotozoom"
      bash "$shared/process_cost.sh" "$size" "$look" "$work" -- "$work/demo-in-look" "$look" \
        "$build/demo/rotozoom"
    done
  } | tee "$work/$size.txt"
  python3 - "$work/$size.txt" <<'PYTHON'
import re, sys
figures = {}
for line in open(sys.argv[1]):
    m = re.match(r"([\w-]+): program ([\d.]+)% of a core, X server ([\d.]+)%", line)
    if m:
        figures[m.group(1)] = (float(m.group(2)), float(m.group(3)))
floor = figures.get("floor", (0, 0))[0]
full = figures.get("floor-full", (0, 0))[0]
for label, (program, server) in figures.items():
    if label != "floor" and floor > 0 and full > 0:
        print(f"{label}: {program / floor:.2f} x the floor's program CPU, "
              f"{program / full:.2f} x the full-screen floor's")
PYTHON
done
