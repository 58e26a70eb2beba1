#!/usr/bin/env bash
# Starts the text sample on the real screen, keeps a screenshot, and checks that the text
# colours show: yellow Japanese text and its shadow (the palette's black), the default
# font's black on white, the cyan italic line.
set -euo pipefail
program="$1"
screenshot="$2"
work="$(mktemp -d)"
cd "$work"
"$program" > log 2> errors &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 1 100); do grep -q "text shown" log 2>/dev/null && break; sleep 0.05; done
grep -q "text shown" log || { echo "the program did not start:"; cat errors; exit 1; }
sleep 0.3
import -window root "$screenshot"
count() {  # pixels of exactly that colour
  convert "$screenshot" -fill black +opaque "$1" -fill white -opaque "$1" -format "%[fx:int(mean*w*h)]" info:
}
for colour in "rgb(255,230,0)" "rgb(0,0,0)" "rgb(255,255,255)" "rgb(0,220,255)"; do
  n="$(count "$colour")"
  [ "$n" -gt 200 ] || { echo "too little $colour on the screen: $n pixels"; exit 1; }
done
xdotool key Escape
status=0
wait $pid || status=$?
[ "$status" -eq 1 ] || { echo "exit status $status, expected 1"; exit 1; }
echo "text sample: every text colour shows; screenshot in $screenshot"
