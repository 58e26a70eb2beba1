#!/usr/bin/env bash
# Runs a test script with its own X server: DISPLAY points at a fresh Xvfb for the script.
set -euo pipefail
display=""
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "run_under_xvfb: no free display number" >&2; exit 1; }
# -noreset: an X server resets when its last client leaves, and refuses connections meanwhile;
# a program started just after another one ended would find no display. XVFB_OPTIONS: more of
# the server's options, a word each (say, -extension MIT-SHM for a display without shared
# memory).
read -r -a options <<< "${XVFB_OPTIONS:-}"
Xvfb "$display" -screen 0 "${XVFB_SCREEN:-640x480x24}" -nolisten tcp -noreset "${options[@]}" \
  >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null || true' EXIT
# Its socket appears before it answers; a busy machine has taken over ten seconds to answer.
for _ in $(seq 1 600); do
  DISPLAY="$display" xdotool getdisplaygeometry > /dev/null 2>&1 && break
  kill -0 "$server" 2> /dev/null || { echo "run_under_xvfb: Xvfb $display ended" >&2; exit 1; }
  sleep 0.1
done
DISPLAY="$display" "$@"
