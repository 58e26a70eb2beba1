#!/usr/bin/env bash
# Runs a program on an X display of its own with Mesa's software OpenGL (llvmpipe), as the
# presenter's tests and benchmark need: the same GL on every machine, no GPU needed. Xvfb picks
# a free display number itself (-displayfd), so tests running side by side never race for one.
set -euo pipefail
number_file="$(mktemp)"
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-640x480x24}" -nolisten tcp -noreset \
  3> "$number_file" > /dev/null 2>&1 &
server=$!
trap 'kill $server 2> /dev/null; wait $server 2> /dev/null || true; rm -f "$number_file"' EXIT
for _ in $(seq 1 200); do
  grep -q '^[0-9][0-9]*$' "$number_file" && break
  kill -0 $server 2> /dev/null || { echo "run_on_software_gl: Xvfb did not start" >&2; exit 1; }
  sleep 0.05
done
grep -q '^[0-9][0-9]*$' "$number_file" || { echo "run_on_software_gl: no display" >&2; exit 1; }
DISPLAY=":$(head -n 1 "$number_file")" LIBGL_ALWAYS_SOFTWARE=1 "$@"
