#!/usr/bin/env bash
# Whether the look keeps the mode's rate, with the demo full-screen on a 1280 x 960 screen:
#  - a normal run in the sharp look says once which path presents (on a virtual display, whose
#    GL is Mesa's llvmpipe, the processor's, naming that GL) and nothing about a slow look;
#  - the test hook with a value it does not take (too large to wait for) is ignored, saying so;
#  - with presentations made slow (ROTOZOOM_PRESENT_DELAY_MS, the screen's test hook) it says
#    once on standard error that the look cannot keep the rate, shows the same over the picture,
#    and keeps the user's look. A cheaper look is named only where there is one: sharp at
#    1280 x 960 (four times the picture both ways) is drawn as integer's copy, and crt names
#    sharp.
#   slow_look_test.sh DEMO MAKE_TEXTURE SHOTS
set -euo pipefail
demo="$1" make_texture="$2" shots="$3"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/common.sh"
mkdir -p "$shots"
"$make_texture" texture.bmp
fail() { echo "FAILED: $*"; exit 1; }
state="$XDG_STATE_HOME/rotozoom/rotozoom.display"
mkdir -p "$(dirname "$state")"

start_demo() {  # start_demo LOOK: the demo in that look, full-screen
  printf 'rotozoom display 1\nmode fullscreen\nwindow 0 0 320 240\nlook %s\n' "$1" > "$state"
  "$demo" > log 2> errors &
  pid=$!
}
end_demo() {  # a screenshot, then Escape, which ends the demo within 20 seconds
  import -window root "$shots/$1.png"
  xdotool key Escape
  for _ in $(seq 1 200); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2> /dev/null && fail "the demo did not end on Escape: $(cat errors)"
  expect_status_one
}
white_in_notice() { python3 "$here/look_pixels.py" white "$shots/$1.png" 0 760 700 200; }

start_demo sharp
sleep 5
end_demo normal
[ "$(grep -c "presenting on the processor into the window's own pixels: the GL, \"llvmpipe" errors)" -eq 1 ] ||
  fail "the path that presents is not said once: $(cat errors)"
! grep -q "cannot keep" errors || fail "a normal run finds a look too slow: $(cat errors)"
echo "ok: a normal run says which path presents, and nothing of a slow look: $(cat errors)"

# Too large: wrapped into an int it would be 14 days, and the first presentation would never end.
ROTOZOOM_PRESENT_DELAY_MS=99999999999 start_demo sharp
sleep 3
end_demo ignored
grep -q "ROTOZOOM_PRESENT_DELAY_MS=99999999999 ignored" errors ||
  fail "a value the hook does not take is not said to be ignored: $(cat errors)"
! grep -q "cannot keep" errors || fail "the ignored hook made a look slow: $(cat errors)"
echo "ok: $(grep ignored errors)"

# 40 ms a presentation: 25 a second at most; found too slow after 60 of them. The notice is
# shown for 5 seconds from then.
for case in "sharp:the sharp look cannot keep 60 Hz here" \
  "crt:the crt look cannot keep 60 Hz here: sharp costs less"; do
  look="${case%%:*}" message="${case#*:}"
  ROTOZOOM_PRESENT_DELAY_MS=40 start_demo "$look"
  for _ in $(seq 1 300); do grep -q "cannot keep" errors && break; sleep 0.1; done
  # The notice comes with the next picture shown after the line, a presentation or more later
  # on a busy machine: look for it for up to 3 of its 5 seconds.
  noticed=""
  for _ in $(seq 1 15); do
    import -window root "$shots/slow-$look.png"
    if [ "$(white_in_notice "slow-$look")" -gt $(("$(white_in_notice normal)" + 50)) ]; then
      noticed=yes
      break
    fi
    sleep 0.2
  done
  end_demo "slow-$look-end"
  [ "$(grep -c "cannot keep" errors)" -eq 1 ] && grep -qx "screen: $message" errors ||
    fail "\"$message\" is not said once on standard error: $(cat errors)"
  [ -n "$noticed" ] || fail "no notice over the picture in $look"
  grep -qx "look $look" "$state" || fail "the look was changed: $(cat "$state")"
  echo "ok: presentations made slow in $look: $(grep "cannot keep" errors), over the picture too"
done
