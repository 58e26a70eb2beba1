#!/usr/bin/env bash
# The looks on the real screen, on a 1400 x 1000 screen where the picture's factor is not whole
# (1000 / 240 = 4.17), with colour_bars' still picture of eight bars 40 pixels wide:
#  - sharp, the default, fills the screen's height: every bar exactly its colour inside, at
#    most one blended pixel at each edge between bars;
#  - Alt+L cycles sharp -> crt -> integer, the look's name shown for a moment over the
#    picture, and the choice comes back after a restart;
#  - crt keeps the picture's mean brightness close to sharp's;
#  - on this display, whose GL runs on the processor (llvmpipe), the looks are drawn on the
#    processor, and the GPU path (ROTOZOOM_RENDERER=gl) draws each within a level or two of it;
#  - integer gives exactly the screen pixels of SDL's renderer path (ROTOZOOM_RENDERER=sdl);
#  - where no GL context can be had, that path shows the picture, saying so once; where the GL
#    driver cannot load at all (the X server refuses the context), the processor path does, in
#    every look, or SDL's software renderer where SDL's renderer was asked for.
# Screenshots go to SHOTS.
#   looks_test.sh COLOUR_BARS SHOTS
set -euo pipefail
colour_bars="$1" shots="$2"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/common.sh"
mkdir -p "$shots"
state="$XDG_STATE_HOME/rotozoom/colour_bars.display"
measure() { python3 "$here/look_pixels.py" "$@"; }
fail() { echo "FAILED: $*"; exit 1; }

# Started, and its picture on the screen: every look shows the eight bars. However busy the
# machine, the GL path may take a while to show its first frame (once over 0.5 s).
start() {
  start_program "bars shown" "$colour_bars"
  for _ in $(seq 1 50); do
    import -window root drawn.png
    [ "$(convert drawn.png -format %k info:)" -ge 8 ] && return 0
    sleep 0.2
  done
  fail "the bars do not show: $(cat errors)"
}
shot() { import -window root "$shots/$1.png"; }
end_with_escape() {
  xdotool key Escape
  expect_status_one
}

start
shot sharp
measure bars-row "$shots/sharp.png" 500 8 || fail "sharp"
sharp_mean="$(measure mean "$shots/sharp.png" 33 0 1333 1000)"
echo "ok: sharp fills the height with even bars (mean brightness $sharp_mean)"

xdotool key alt+l
sleep 0.3
shot crt-notice
[ "$(measure white "$shots/crt-notice.png" 33 900 400 100)" -gt 20 ] ||
  fail "no notice over the picture after Alt+L"
sleep 1.5
shot crt
[ "$(measure white "$shots/crt.png" 33 900 400 100)" -eq 0 ] || fail "the notice stays"
grep -qx "look crt" "$state" || fail "crt not remembered: $(cat "$state")"
crt_mean="$(measure mean "$shots/crt.png" 33 0 1333 1000)"
python3 -c "import sys; a, b = float(sys.argv[1]), float(sys.argv[2]); sys.exit(abs(a - b) > 0.1 * a)" \
  "$sharp_mean" "$crt_mean" || fail "crt's mean brightness $crt_mean is not within 10 % of $sharp_mean"
! cmp -s <(convert "$shots/sharp.png" rgb:-) <(convert "$shots/crt.png" rgb:-) ||
  fail "crt looks the same as sharp"
echo "ok: Alt+L gives crt, named for a moment and remembered; mean brightness $crt_mean"

xdotool key alt+l
sleep 1.6
grep -qx "look integer" "$state" || fail "integer not remembered: $(cat "$state")"
end_with_escape
grep -q "^screen: presenting on the processor into the window's own pixels" errors ||
  fail "the looks were not drawn on the processor: $(cat errors)"

# The GPU path's looks beside the processor's: sharp and crt within a level or two (the shaders'
# arithmetic, rounded its own way), integer exactly (below).
for look in sharp crt; do
  printf 'rotozoom display 1\nmode fullscreen\nwindow 0 0 320 240\nlook %s\n' "$look" > "$state"
  ROTOZOOM_RENDERER=gl start
  shot "gl-$look"
  end_with_escape
  grep -q "^screen: presenting on the GPU path" errors || fail "ROTOZOOM_RENDERER=gl: $(cat errors)"
  measure near "$shots/gl-$look.png" "$shots/$look.png" 2 ||
    fail "the GPU path's $look differs from the processor's"
  echo "ok: the GPU path's $look is the processor's within two levels"
done
printf 'rotozoom display 1\nmode fullscreen\nwindow 0 0 320 240\nlook integer\n' > "$state"

# The remembered look after a restart, beside the renderer path's picture, on the processor and
# on the GPU path.
start
shot integer
end_with_escape
ROTOZOOM_RENDERER=gl start
shot gl-integer
end_with_escape
[ "$(convert "$shots/integer.png" -crop 1280x960+60+20 +repage -format %k info:)" -eq 8 ] ||
  fail "integer is not the eight bars at 4x in the middle"
ROTOZOOM_RENDERER=sdl start
shot renderer
end_with_escape
differing="$(compare -metric AE "$shots/integer.png" "$shots/renderer.png" null: 2>&1 || true)"
[ "$differing" = "0" ] || fail "integer differs from the renderer path in $differing pixels"
differing="$(compare -metric AE "$shots/gl-integer.png" "$shots/renderer.png" null: 2>&1 || true)"
[ "$differing" = "0" ] || fail "the GPU path's integer differs from the renderer path in $differing pixels"
echo "ok: integer comes back after a restart, pixel for pixel the renderer path's picture"

# A GL that offers only OpenGL ES 2.0: the renderer path shows the bars and says why, once.
MESA_GLES_VERSION_OVERRIDE=2.0 start
shot fallback
end_with_escape
[ "$(grep -c "SDL's renderer" errors)" -eq 1 ] || fail "the fallback does not say so once: $(cat errors)"
cmp -s <(convert "$shots/fallback.png" rgb:-) <(convert "$shots/renderer.png" rgb:-) ||
  fail "the fallback's picture differs from the renderer path's"
echo "ok: without GL, the renderer path shows the picture: $(cat errors)"

# A GL driver that cannot load: the X server refuses the GL context, asynchronously. The picture
# still shows, drawn on the processor (every look: Alt+L gives sharp, filling the height), and
# one line says so; where SDL's renderer was asked for, through SDL's software renderer, its GPU
# renderers failing the same way.
for chosen in "" sdl; do
  LIBGL_DRIVERS_PATH=/nonexistent ROTOZOOM_RENDERER="$chosen" start
  shot "broken-gl-$chosen"
  if [ -z "$chosen" ]; then
    xdotool key alt+l
    sleep 1.6
    shot broken-gl-sharp
  fi
  end_with_escape
  path="^screen: presenting on the processor into the window's own pixels: no OpenGL ES 3.0 context: X error"
  [ "$chosen" = sdl ] && path="^screen: .*SDL's renderer (software)"
  # Besides Mesa's own line naming the driver it could not load, which no setting quiets.
  [ "$(grep -vc "^libGL error: failed to load driver" errors)" -eq 1 ] && grep -q "$path" errors ||
    fail "a broken GL driver (ROTOZOOM_RENDERER=$chosen) does not say once which path shows: $(cat errors)"
  cmp -s <(convert "$shots/broken-gl-$chosen.png" rgb:-) <(convert "$shots/renderer.png" rgb:-) ||
    fail "with a broken GL driver (ROTOZOOM_RENDERER=$chosen) the picture differs from the renderer path's"
  if [ -z "$chosen" ]; then
    measure bars-row "$shots/broken-gl-sharp.png" 500 8 || fail "sharp with a broken GL driver"
    printf 'rotozoom display 1\nmode fullscreen\nwindow 0 0 320 240\nlook integer\n' > "$state"
  fi
  echo "ok: a broken GL driver (ROTOZOOM_RENDERER=$chosen): the picture shows: $(cat errors)"
done
