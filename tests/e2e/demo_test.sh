#!/usr/bin/env bash
# The built demo as a user runs it, in a temporary folder on a 640 x 480 screen (the picture
# fills it, scaled by 2): it shows the turning texture with the FPS line's white box at the
# top-left; Escape, Pause, a right click and closing the window each end it with status 1
# within a second, without a word; SIGTERM too, saying why in one line; without a readable
# texture.bmp it shows the file-not-found box and ends with status 1 once it is answered, or on
# SIGTERM, saying why. Command-line arguments change nothing.
set -euo pipefail
demo="$1"
make_texture="$2"
close_window="$3"
source "$(dirname "$0")/common.sh"
"$make_texture" texture.bmp

fail() { echo "FAILED: $*"; exit 1; }

start_demo() {  # start_demo [ARGUMENTS...]: runs the demo and waits for its window
  "$demo" "$@" > out 2> err &
  pid=$!
  window=""
  for _ in $(seq 1 100); do
    window="$(window_titled "ぽこるん" "$pid")" && break
    sleep 0.05
  done
  [ -n "${window:-}" ] || fail "the demo's window did not appear: $(cat err)"
  sleep 0.5
}

expect_exit_within_a_second() {  # expect_exit_within_a_second WHAT
  for _ in $(seq 1 20); do kill -0 $pid 2>/dev/null || break; sleep 0.05; done
  if kill -0 $pid 2>/dev/null; then kill $pid; fail "$1 did not end the demo within a second"; fi
  local status=0
  wait $pid || status=$?
  pid=""
  [ "$status" -eq 1 ] || fail "$1 ended the demo with status $status, expected 1"
  expect_no_key_held
  echo "ok: $1 ends the demo with status 1"
}

# What the demo said besides the one line at start naming the path that presents.
said_besides_path() { grep -v '^screen: presenting ' err || true; }

# expect_silent_end WHAT: an end the user asked for says nothing.
expect_silent_end() {
  expect_exit_within_a_second "$1"
  [ "$(grep -c '^screen: presenting ' err)" -le 1 ] || fail "$1: the path said twice: $(cat err)"
  [ -z "$(said_besides_path)" ] || fail "$1: the demo said: $(cat err)"
}

colours_in() { convert "$1" -format "%k" info:; }

# The turning texture, with the FPS box at the top-left.
start_demo
# Within 5 s each, as a busy machine may be slow to draw: a picture, then another one.
for tries in $(seq 1 25); do
  import -window root one.png
  [ "$(colours_in one.png)" -gt 20 ] && break
  [ "$tries" -eq 25 ] && fail "the first screenshot has almost one colour"
  sleep 0.2
done
for tries in $(seq 1 25); do
  sleep 0.2
  import -window root two.png
  ! cmp -s <(convert one.png rgb:-) <(convert two.png rgb:-) && break
  [ "$tries" -eq 25 ] && fail "the picture does not move"
done
[ "$(colours_in two.png)" -gt 20 ] || fail "the second screenshot has almost one colour"
for shot in one.png two.png; do
  # Picture pixels (0, 15) and (1, 15): the box's paper below the text's baseline.
  for x in 0 2; do
    IFS=, read -r r g b <<< "$(pixel $shot $x 31)"
    [ "$r" -gt 230 ] && [ "$g" -gt 230 ] && [ "$b" -gt 200 ] ||
      fail "$shot: no white FPS box at the top-left: ($x, 31) is $r,$g,$b"
  done
done
echo "ok: the texture turns, and the FPS box is at the top-left"
cp one.png "${SCREENSHOT:-/dev/null}" 2>/dev/null || true
xdotool mousemove 320 240
xdotool key Escape
expect_silent_end "Escape"

start_demo
xdotool mousemove 320 240
xdotool key Pause
expect_silent_end "Pause"

start_demo
xdotool mousemove 320 240 click 3
expect_silent_end "a right click"

start_demo
"$close_window" "$window"
expect_silent_end "closing the window"

# An end the user did not ask for on the screen says why. (SIGINT cannot be tried here: a
# script's background jobs ignore it.)
start_demo
kill -TERM $pid
expect_exit_within_a_second "SIGTERM"
[ "$(said_besides_path | wc -l)" -eq 1 ] && grep -q "SIGTERM" err ||
  fail "SIGTERM: not one line saying why on standard error: $(cat err)"

# Arguments change nothing: it still runs, and Escape still ends it.
start_demo --help -w 640 texture.bmp
xdotool mousemove 320 240
xdotool key Escape
expect_exit_within_a_second "Escape, with arguments given"

# No texture, then a texture that is not a bitmap: the box, then status 1 once it is closed.
for case in missing broken; do
  rm -f texture.bmp
  [ "$case" = broken ] && printf 'not a bitmap at all, %.0s' $(seq 1 100) > texture.bmp
  "$demo" > out 2> err &
  pid=$!
  box=""
  for _ in $(seq 1 100); do
    box="$(window_titled "エラーが発生したらしい(^^;" "$pid")" && break
    sleep 0.05
  done
  [ -n "$box" ] || fail "$case texture: no message box appeared: $(cat err)"
  grep -q "texture.bmp ファイルが見つかりません" err || fail "$case texture: message missing: $(cat err)"
  kill -0 $pid 2>/dev/null || fail "$case texture: the demo ended before the box was answered"
  xdotool mousemove 320 240
  "$close_window" "$box"
  expect_exit_within_a_second "answering the box for a $case texture"
  [ "$(said_besides_path | grep -c "^screen: ")" -eq 0 ] ||
    fail "answering the box: the demo said: $(cat err)"
done

# SIGTERM while the box is shown ends the demo, and it says why.
"$demo" > out 2> err &
pid=$!
for _ in $(seq 1 100); do window_titled "エラーが発生したらしい(^^;" "$pid" > /dev/null && break; sleep 0.05; done
kill -TERM $pid
expect_exit_within_a_second "SIGTERM while the box is shown"
grep -q "^screen: .*SIGTERM" err || fail "SIGTERM while the box is shown: no word of it: $(cat err)"
