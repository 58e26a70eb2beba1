#!/usr/bin/env bash
# Runs a test script with its own X server: DISPLAY points at a fresh Xvfb for the script.
set -euo pipefail
display=""
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "run_under_xvfb: no free display number" >&2; exit 1; }
# -noreset: an X server resets when its last client leaves, and refuses connections meanwhile;
# a program started just after another one ended would find no display.
Xvfb "$display" -screen 0 "${XVFB_SCREEN:-640x480x24}" -nolisten tcp -noreset >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.05
done
DISPLAY="$display" "$@"
