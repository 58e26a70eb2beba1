#!/usr/bin/env bash
# A screenshot of the real window shows the known colour bars, scaled up with the aspect kept,
# and a palette change without a new frame shows too. Run on an 800 x 480 screen: the 320 x 240
# picture scales by 2 to 640 x 480, with black bars 80 pixels wide at both sides.
set -euo pipefail
program="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

"$program" > log 2> errors &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 1 100); do grep -q "bars shown" log 2>/dev/null && break; sleep 0.05; done
grep -q "bars shown" log || { echo "the program did not start:"; cat errors; exit 1; }
sleep 0.5

pixel() {  # colour at (x, y) of a screenshot, as "r,g,b"
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}
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
status=0
wait $pid || status=$?
[ "$status" -eq 1 ] || { echo "exit status $status, expected 1"; exit 1; }
echo "colour bars: every bar as expected, aspect kept, palette change shown"
