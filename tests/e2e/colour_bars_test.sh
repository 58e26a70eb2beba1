#!/usr/bin/env bash
# A screenshot of the real window shows the known colour bars, scaled up with the aspect kept,
# and a palette change without a new frame shows too. Run on an 800 x 480 screen: the 320 x 240
# picture scales by 2 to 640 x 480, with black bars 80 pixels wide at both sides.
set -euo pipefail
program="$1"
source "$(dirname "$0")/common.sh"
start_program "bars shown" "$program"
sleep 0.5

check() {  # file x y expected what
  local got
  got="$(pixel "$1" "$2" "$3")"
  [ "$got" = "$4" ] || { echo "$5: pixel ($2, $3) is $got, expected $4"; exit 1; }
}

import -window root first.png
check first.png 40 240 "0,0,0" "left black bar"
check first.png 760 240 "0,0,0" "right black bar"
bars=("255,0,0" "0,255,0" "0,0,255" "255,255,0" "0,255,255" "255,0,255" "255,255,255" "128,64,32")
for bar in $(seq 0 7); do
  # Bar k spans picture columns 40k..40k+39, screen columns 80 + 80k.. 80 + 80k + 79.
  check first.png $((80 + 80 * bar + 40)) 100 "${bars[$bar]}" "bar $bar"
  check first.png $((80 + 80 * bar + 1)) 470 "${bars[$bar]}" "bar $bar near its edge"
done
check first.png 80 0 "255,0,0" "the picture's top-left pixel"
check first.png 79 0 "0,0,0" "just left of the picture"

xdotool mousemove 400 240
sleep 0.2
# Held down until the program has seen it: it looks at the key state between frames.
xdotool keydown p
for _ in $(seq 1 100); do grep -q "palette changed" log && break; sleep 0.05; done
xdotool keyup p
grep -q "palette changed" log || { echo "the palette was not changed"; exit 1; }
sleep 0.3
import -window root second.png
check second.png 120 100 "10,20,30" "first bar after the palette change"
check second.png 200 100 "0,255,0" "second bar after the palette change"

xdotool key Escape
expect_status_one
echo "colour bars: every bar as expected, aspect kept, palette change shown"
