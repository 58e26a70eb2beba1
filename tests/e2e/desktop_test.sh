#!/usr/bin/env bash
# The demo at home on a desktop, on a 1280 x 960 screen:
#  - Alt+Enter puts the full-screen picture in a window smaller than the screen, still moving,
#    and back to full-screen;
#  - after a restart the last choice and the window's size come back; a corrupt state file, or
#    a named pipe in its place, is ignored (full-screen); a window remembered larger than the
#    screen opens within it; another program does not open in the demo's window;
#  - a window made as large as X allows (32767 x 32767, by another program) leaves the demo
#    running, on the processor path and SDL's renderer paths;
#  - Print Screen leaves a 320 x 240 indexed PNG equal to the frame on the screen, scaled back
#    (checked on colour_bars' still picture, shown full-screen at 4x);
# and every run ends with Escape and status 1. Screenshots go to SHOTS.
#   desktop_test.sh DEMO MAKE_TEXTURE COLOUR_BARS SHOTS
set -euo pipefail
demo="$1" make_texture="$2" colour_bars="$3" shots="$4"
source "$(dirname "$0")/common.sh"
mkdir -p "$shots"
"$make_texture" texture.bmp
state="$XDG_STATE_HOME/rotozoom/rotozoom.display"  # each program has its own

fail() { echo "FAILED: $*"; exit 1; }

window=""
start() {  # start [env SETTINGS...] PROGRAM TITLE: runs it and waits for its window
  local title="${*: -1}"
  "${@:1:$#-1}" > out 2> err &
  pid=$!
  window=""
  for _ in $(seq 1 100); do
    window="$(window_titled "$title" "$pid")" && break
    sleep 0.05
  done
  [ -n "$window" ] || fail "no window titled $title: $(cat err)"
  sleep 0.5
}
size() { xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p'; }
# size_is WIDTHxHEIGHT: the window has that size, or takes it within 5 s (a busy machine may
# be slow to place it).
size_is() {
  for _ in $(seq 1 50); do [ "$(size)" = "$1" ] && return 0; sleep 0.1; done
  return 1
}
end_with_escape() {
  # Press and release through the X server to the window that has the focus, the demo's: a
  # release sent to the window the press has just closed would fail and leave Escape held.
  xdotool key Escape
  expect_status_one
}
press() { xdotool key --window "$window" "$1"; sleep 0.8; }
moving() {  # moving NAME: a screenshot of the window shows a picture, and a later one differs
  # (within 5 s each: a busy machine may be slow to draw the first frames)
  local tries
  for tries in $(seq 1 25); do
    import -window "$window" "$shots/$1-a.png"
    [ "$(convert "$shots/$1-a.png" -format %k info:)" -gt 20 ] && break
    [ "$tries" -eq 25 ] && fail "$1: almost one colour"
    sleep 0.2
  done
  for tries in $(seq 1 25); do
    sleep 0.2
    import -window "$window" "$shots/$1-b.png"
    ! cmp -s <(convert "$shots/$1-a.png" rgb:-) <(convert "$shots/$1-b.png" rgb:-) && break
    [ "$tries" -eq 25 ] && fail "$1: the picture does not move"
  done
  return 0
}

# Full-screen at first; Alt+Enter gives a window at a whole multiple of 320 x 240.
start "$demo" "ぽこるん"
size_is 1280x960 || fail "not full-screen at the start: $(size)"
press alt+Return
for _ in $(seq 1 50); do [ "$(size)" != "1280x960" ] && break; sleep 0.1; done
windowed="$(size)"
case "$windowed" in
  960x720 | 640x480 | 320x240) ;;
  *) fail "Alt+Enter gave a window of $windowed, not a whole multiple smaller than the screen" ;;
esac
moving window
echo "ok: Alt+Enter: a $windowed window, the picture moving in it"
press alt+Return
size_is 1280x960 || fail "Alt+Enter again did not give full-screen: $(size)"
moving full-screen
echo "ok: Alt+Enter again: full-screen"

# Back to a window, made another size by the user; the choice is remembered.
press alt+Return
xdotool windowsize "$window" 700 500
sleep 0.8
size_is 700x500 || fail "the window did not take the new size: $(size)"
import -window root "$shots/resized-window.png"
end_with_escape
grep -qx "mode window" "$state" || fail "the state file does not say window: $(cat "$state")"
start "$demo" "ぽこるん"
size_is 700x500 || fail "after a restart the window is $(size), not 700x500"
moving restored-window
end_with_escape
echo "ok: after a restart the window and its size came back"

# A corrupt state file is ignored.
printf 'rotozoom display 1\nmode window\nwindow 0 0 -5 99999\n' > "$state"
start "$demo" "ぽこるん"
size_is 1280x960 || fail "a corrupt state file was not ignored: $(size)"
end_with_escape
head -c 300 /dev/urandom > "$state"
start "$demo" "ぽこるん"
size_is 1280x960 || fail "a random state file was not ignored: $(size)"
end_with_escape
echo "ok: corrupt state files are ignored"

# A named pipe in the state file's place is passed over at once: nothing waits for a writer.
rm -f "$state"
mkfifo "$state"
start "$demo" "ぽこるん"
if ! size_is 1280x960; then
  timeout 1 sh -c ': > "$1"' sh "$state" || true # lets a program waiting on the pipe go on
  fail "a named pipe as the state file held up the start: $(size)"
fi
end_with_escape
rm -f "$state"
echo "ok: a named pipe as the state file is ignored"

# A window remembered wider than the screen opens within it, the picture moving.
printf 'rotozoom display 1\nmode window\nwindow 100 50 3000 600\n' > "$state"
start "$demo" "ぽこるん"
size_is 1280x600 || fail "a window remembered 3000 wide opened at $(size)"
moving fitted-window
end_with_escape
echo "ok: a window remembered wider than the screen opened within it"

# Another program makes the demo's window as large as X allows: it runs on, shows the picture
# again once the window is of a usual size, and Escape ends it. On the processor path (this
# display's GL is the processor's), SDL's renderer on that GL, SDL's renderer in software
# (asked for where the GL driver cannot load), and the processor path where the GL driver
# cannot load. Not on the GPU path with this GL (ROTOZOOM_RENDERER=gl): Mesa's software GL
# takes the window's size from the X server at each swap, so a resize that lands between the
# screen's last look at the size and the swap can still abort inside libxcb (seen once in
# eleven runs on a loaded machine).
for path in processor renderer software broken-gl; do
  printf 'rotozoom display 1\nmode window\nwindow 0 0 700 500\n' > "$state"
  settings=()
  [ "$path" = renderer ] && settings=(ROTOZOOM_RENDERER=sdl)
  [ "$path" = software ] && settings=(LIBGL_DRIVERS_PATH=/nonexistent ROTOZOOM_RENDERER=sdl)
  [ "$path" = broken-gl ] && settings=(LIBGL_DRIVERS_PATH=/nonexistent)
  start env "${settings[@]}" "$demo" "ぽこるん"
  xdotool windowsize "$window" 32767 32767
  sleep 1.5
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid" || echo "exit status $?"
    pid=""
    fail "a 32767 x 32767 window ended the demo ($path): $(cat err)"
  fi
  xdotool windowsize "$window" 700 500
  sleep 0.8
  moving "after-huge-$path"
  end_with_escape
  case "$path" in
    processor) said="^screen: presenting on the processor into the window's own pixels: the GL" ;;
    renderer) said="^screen: presenting through the SDL renderer" ;;
    software) said="^screen: .*SDL's renderer (software)" ;;
    broken-gl) said="^screen: presenting on the processor .*: no OpenGL ES 3.0 context: X error" ;;
  esac
  grep -q "$said" err || fail "the $path case ran on another path: $(cat err)"
  echo "ok: a 32767 x 32767 window ($path) leaves the demo running"
done

# Print Screen on a still picture: the file is the frame on the screen, scaled back. The
# demo's last view is a window; another program keeps its own view (full-screen).
printf 'rotozoom display 1\nmode window\nwindow 0 0 700 500\n' > "$state"
start "$colour_bars" "ぽこるん"
size_is 1280x960 || fail "colour_bars opened in the demo's remembered view: $(size)"
for tries in $(seq 1 25); do  # the bars drawn, however busy the machine
  import -window root screen.png
  [ "$(convert screen.png -format %k info:)" -ge 8 ] && break
  [ "$tries" -eq 25 ] && fail "colour_bars shows no bars"
  sleep 0.2
done
press Print
shot="$(ls rotozoom-*.png 2>/dev/null | head -1)"
[ -n "$shot" ] || fail "Print Screen left no PNG: $(cat err)"
[ "$(identify -format '%w %h' "$shot")" = "320 240" ] || fail "$shot is not 320 x 240"
file "$shot" | grep -q "colormap" || fail "$shot is not an indexed PNG: $(file "$shot")"
convert screen.png -filter point -resize 320x240 rgb:screen.rgb
convert "$shot" rgb:shot.rgb
cmp -s screen.rgb shot.rgb || fail "$shot differs from the screen scaled back"
cp "$shot" "$shots/print-screen.png"
end_with_escape
echo "ok: Print Screen saved $shot, equal to the screen"
