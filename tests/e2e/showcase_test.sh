#!/usr/bin/env bash
# The engine showcase as a user runs it on a 640 x 480 screen: it goes through its scenes (the
# pictures change, several different ones are seen, none of one colour) and Escape ends it with
# status 1 within a second. The screenshots are kept for people to look at.
set -euo pipefail
showcase="$1"
shots="$2"
source "$(dirname "$0")/common.sh"

fail() { echo "FAILED: $*"; exit 1; }

"$showcase" > out 2> err &
pid=$!
# Its shown window (the GL path's hidden probe window comes and goes first), 20 s at most.
window=""
for _ in $(seq 1 200); do
  window="$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null)" && [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || fail "the program ended before its window appeared: $(cat err)"
  sleep 0.1
done
[ -n "$window" ] || fail "no window appeared within 20 s: $(cat err)"

# One screenshot every 1.5 s through the scenes (a turn of them takes about 25 s).
mkdir -p "$shots"
for n in $(seq 1 10); do
  sleep 1.5
  kill -0 "$pid" 2>/dev/null || fail "the showcase ended by itself: $(cat err)"
  # A shot may land on a fade between scenes, or, on a busy machine, before the first picture
  # is drawn: a picture must show within a second.
  for tries in $(seq 1 5); do
    import -window root "$shots/scene-$n.png"
    colours="$(convert "$shots/scene-$n.png" -format "%k" info:)"
    [ "$colours" -gt 8 ] && break
    [ "$tries" -eq 5 ] && fail "screenshot $n has only $colours colours, and for a second"
    sleep 0.2
  done
done
distinct="$(for f in "$shots"/scene-*.png; do convert "$f" rgb:- | md5sum; done | sort -u | wc -l)"
[ "$distinct" -ge 8 ] || fail "only $distinct different pictures in 10 screenshots"
echo "ok: $distinct different pictures in 10 screenshots"

xdotool mousemove 320 240 key Escape
for _ in $(seq 1 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$pid" 2>/dev/null && fail "Escape did not end the showcase within a second"
expect_status_one
echo "ok: Escape ends the showcase with status 1"
