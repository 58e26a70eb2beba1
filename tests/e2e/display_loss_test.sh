#!/usr/bin/env bash
# The X server going away under the running demo ends it promptly with status 1: no hang, no
# crash loop. Runs its own Xvfb, since it is the server that gets killed.
set -euo pipefail
demo="$1"
make_texture="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
"$make_texture" texture.bmp

display=""
for n in $(seq 141 190); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free display number"; exit 1; }
Xvfb "$display" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done

DISPLAY="$display" "$demo" > out 2> err &
pid=$!
sleep 1.5
kill -0 $pid 2>/dev/null || { echo "the demo did not run: $(cat err)"; exit 1; }
kill $server
wait $server 2>/dev/null || true
# Promptly: within two seconds of the server's end.
for _ in $(seq 1 40); do kill -0 $pid 2>/dev/null || break; sleep 0.05; done
if kill -0 $pid 2>/dev/null; then kill -9 $pid; echo "the demo hung after the display went away"; exit 1; fi
status=0
wait $pid || status=$?
[ "$status" -eq 1 ] || { echo "exit status $status, expected 1: $(cat err)"; exit 1; }
grep -q "the display went away" err || { echo "no word of the display going away: $(cat err)"; exit 1; }
echo "display loss: the demo ended with status 1 and said why"
