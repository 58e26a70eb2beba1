#!/usr/bin/env bash
# The Windows build of the smallest program under Wine, in Wine's virtual desktop inside Xvfb,
# with a fresh prefix: its frame shows the sky, the ball and the text line (minimal_frame.py),
# and Escape ends it with status 1. Screenshots are kept in SHOTS.
set -euo pipefail
exe="$1"
shots="$2"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/common.sh"
mkdir -p "$shots"

fail() { echo "FAILED: $*"; [ -f err ] && tail -5 err; exit 1; }

source "$here/wine_prefix.sh"

wine "$exe" > out 2> err &
pid=$!
# Wine's first program in a fresh prefix may take a while on a busy machine.
for _ in $(seq 1 600); do
  window_titled "ぽこるん" > /dev/null && break
  kill -0 "$pid" 2>/dev/null || fail "the program ended before its window appeared"
  sleep 0.1
done
window_titled "ぽこるん" > /dev/null || fail "the program's window did not appear"
sleep 2
desktop="$(window_titled "Default - Wine desktop")" || fail "no Wine desktop window"
eval "$(xdotool getwindowgeometry --shell "$desktop")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shots/wine-minimal.png"
python3 "$here/../e2e/minimal_frame.py" "$shots/wine-minimal.png" || fail "the screenshot"

xdotool mousemove 100 100 key Escape
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "Escape did not end the program within 5 s"
expect_status_one
echo "ok: under Wine the frame shows its text and ball; Escape ends it with status 1"
