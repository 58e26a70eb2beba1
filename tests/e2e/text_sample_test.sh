#!/usr/bin/env bash
# Starts the text sample on the real screen, keeps a screenshot, and checks that the text
# colours show: yellow Japanese text and its shadow (the palette's black), the default
# font's black on white, the cyan italic line.
set -euo pipefail
program="$1"
screenshot="$2"
source "$(dirname "$0")/common.sh"
start_program "text shown" "$program"
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
expect_status_one
echo "text sample: every text colour shows; screenshot in $screenshot"
