#!/usr/bin/env bash
# The processor path on X displays unlike the usual one, with
# colour_bars' still picture of eight bars on a 1400 x 1000 screen (this display's GL is Mesa's
# llvmpipe, so the processor path is the one chosen where it can be had):
#  sixteen-bit: a display of 16 bits a pixel, which the scalers cannot write: the GPU path
#    shows the picture instead, and ROTOZOOM_RENDERER=processor gives SDL's renderer; each
#    says in one line why, naming the window's pixel format;
#  no-shared-memory: a display without MIT-SHM (as a remote one): the pixels go to the server
#    in requests of their own, and the picture and its black bars show as on any other,
#    after the window was made tiny and full-size again too (the window's new pixels are not
#    cleared by anyone else);
#  no-gl: a display without GLX (as some remote ones): SDL's renderer could draw only in
#    software, in whole factors; the processor path shows the picture in every look instead,
#    saying why in one line.
# Screenshots go to SHOTS.
#   window_pixels_test.sh KIND COLOUR_BARS SHOTS
set -euo pipefail
kind="$1" colour_bars="$2" shots="$3"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/common.sh"
mkdir -p "$shots" "$XDG_STATE_HOME/rotozoom"
state="$XDG_STATE_HOME/rotozoom/colour_bars.display"
measure() { python3 "$here/look_pixels.py" "$@"; }
fail() { echo "FAILED: $*"; exit 1; }

start() { start_program "bars shown" "$colour_bars"; sleep 0.5; }
shot() { import -window root "$shots/$kind-$1.png"; }
end_with_escape() {
  xdotool key Escape
  expect_status_one
}
# The eight bars at 4 x in the middle of the screen (the integer look: 1280 x 960 at 60, 20).
eight_bars() {
  [ "$(convert "$shots/$kind-$1.png" -crop 1280x960+60+20 +repage -format %k info:)" -eq 8 ]
}

case "$kind" in
  sixteen-bit)
    printf 'rotozoom display 1\nmode fullscreen\nwindow 0 0 320 240\nlook integer\n' > "$state"
    start
    shot default
    end_with_escape
    [ "$(wc -l < errors)" -eq 1 ] &&
      grep -q "^screen: presenting on the GPU path, .*the window's own pixels cannot be had: .*SDL_PIXELFORMAT_RGB565" errors ||
      fail "a 16-bit display does not say once why the GPU path shows: $(cat errors)"
    eight_bars default || fail "the GPU path on a 16-bit display does not show the bars"
    echo "ok: a 16-bit display: $(cat errors)"

    ROTOZOOM_RENDERER=processor start
    shot processor
    end_with_escape
    [ "$(wc -l < errors)" -eq 1 ] &&
      grep -q "^screen: ROTOZOOM_RENDERER=processor: the window's own pixels cannot be had: .*SDL_PIXELFORMAT_RGB565.*SDL's renderer" errors ||
      fail "ROTOZOOM_RENDERER=processor on a 16-bit display does not say once why: $(cat errors)"
    eight_bars processor || fail "SDL's renderer on a 16-bit display does not show the bars"
    echo "ok: a 16-bit display, ROTOZOOM_RENDERER=processor: $(cat errors)"
    ;;
  no-shared-memory)
    printf 'rotozoom display 1\nmode fullscreen\nwindow 0 0 320 240\nlook sharp\n' > "$state"
    start
    window="$(xdotool search --onlyvisible --pid "$pid" | head -1)"
    shot sharp
    measure bars-row "$shots/$kind-sharp.png" 500 8 || fail "the sharp look without MIT-SHM"
    for size in "3 2" "1400 1000"; do
      xdotool windowsize "$window" $size
      sleep 0.5
    done
    for _ in $(seq 1 25); do  # the window resized and drawn, however busy the machine
      shot resized
      measure bars-row "$shots/$kind-resized.png" 500 8 > /dev/null &&
        [ "$(measure mean "$shots/$kind-resized.png" 0 0 33 1000)" = "0.0" ] && break
      sleep 0.2
    done
    measure bars-row "$shots/$kind-resized.png" 500 8 ||
      fail "the sharp look without MIT-SHM after a resize"
    [ "$(measure mean "$shots/$kind-resized.png" 0 0 33 1000)" = "0.0" ] ||
      fail "the bars are not black after a resize without MIT-SHM"
    end_with_escape
    grep -q "^screen: presenting on the processor into the window's own pixels" errors ||
      fail "without MIT-SHM the processor path does not show the picture: $(cat errors)"
    echo "ok: without MIT-SHM the processor path shows the picture and its black bars"
    ;;
  no-gl)
    printf 'rotozoom display 1\nmode fullscreen\nwindow 0 0 320 240\nlook sharp\n' > "$state"
    start
    shot sharp
    xdotool key alt+l
    sleep 1.6
    shot crt
    end_with_escape
    [ "$(wc -l < errors)" -eq 1 ] &&
      grep -q "^screen: presenting on the processor into the window's own pixels: no OpenGL ES 3.0 context: GLX is not supported" errors ||
      fail "a display without GLX does not say once that the processor shows the picture: $(cat errors)"
    measure bars-row "$shots/$kind-sharp.png" 500 8 || fail "the sharp look without GLX"
    ! cmp -s <(convert "$shots/$kind-sharp.png" rgb:-) <(convert "$shots/$kind-crt.png" rgb:-) ||
      fail "crt looks the same as sharp without GLX"
    echo "ok: without GLX the processor path shows every look: $(cat errors)"
    ;;
  *) fail "no such kind: $kind" ;;
esac
