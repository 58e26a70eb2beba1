#!/usr/bin/env bash
# The smallest program as a user runs it: its frame shows the sky, the ball and the text line
# (checked in a screenshot by minimal_frame.py), the ball moves, and Escape ends it with
# status 1. The screenshots are kept for people to look at.
set -euo pipefail
program="$1"
shots="$2"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/common.sh"
mkdir -p "$shots"

fail() { echo "FAILED: $*"; exit 1; }

"$program" > out 2> err &
pid=$!
# Its shown window: the GL path's hidden probe window comes and goes first, and a search that
# finds that one may find nothing a moment later.
window=""
for _ in $(seq 1 200); do
  window="$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null)" && [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || fail "the program ended before its window appeared: $(cat err)"
  sleep 0.1
done
[ -n "$window" ] || fail "no window appeared within 20 s: $(cat err)"
sleep 1
import -window root "$shots/minimal-1.png"
python3 "$here/minimal_frame.py" "$shots/minimal-1.png" || fail "the first screenshot"
sleep 0.5
import -window root "$shots/minimal-2.png"
python3 "$here/minimal_frame.py" "$shots/minimal-2.png" || fail "the second screenshot"
cmp -s <(convert "$shots/minimal-1.png" rgb:-) <(convert "$shots/minimal-2.png" rgb:-) &&
  fail "the ball does not move"
echo "ok: the frame shows its text and ball, and the ball moves"

xdotool mousemove 320 240 key Escape
for _ in $(seq 1 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$pid" 2>/dev/null && fail "Escape did not end the program within 2 s"
expect_status_one
echo "ok: Escape ends it with status 1"
