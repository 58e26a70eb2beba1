#!/usr/bin/env bash
# The display going away under the running demo ends it promptly with status 1, saying why: no
# hang, no crash loop, no silent death by SIGPIPE. Two ways: the X server ends; the display's
# socket stops taking what the demo writes while its reads still work (x_socket_relay.py), so
# that a write notices first; the connection ends while the GL library is making the first
# window and reads the server's answers itself (it crashed with SIGSEGV, status 139, where the
# server was killed as the demo started). Runs its own Xvfb, since it is the server that gets
# killed.
#   display_loss_test.sh DEMO MAKE_TEXTURE
set -euo pipefail
demo="$1"
make_texture="$2"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
server="" relay="" pid=""
cleanup() {
  for p in $pid $relay $server; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
"$make_texture" texture.bmp

free_display() {  # a display number with neither a lock nor a socket, from 141 up
  for n in $(seq 141 190); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then echo "$n"; return 0; fi
  done
  echo "no free display number" >&2
  exit 1
}
wait_for_display() {  # wait_for_display NUMBER: until it answers, a minute at most (a busy
  # machine has taken over ten seconds to start a server)
  for _ in $(seq 1 600); do DISPLAY=":$1" xdotool getdisplaygeometry >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "display :$1 did not answer within a minute"
  exit 1
}

start_server() {
  display="$(free_display)"
  # -noreset: the server would reset as the wait's own client leaves, refusing the demo meanwhile
  Xvfb ":$display" -screen 0 640x480x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  server=$!
  wait_for_display "$display"
}

run_demo_on() {  # run_demo_on DISPLAY-NUMBER: until its window shows, however busy the machine
  DISPLAY=":$1" "$demo" > out 2> err &
  pid=$!
  for _ in $(seq 1 200); do
    [ -n "$(DISPLAY=":$1" xdotool search --onlyvisible --pid "$pid" 2>/dev/null)" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  sleep 0.5
  kill -0 "$pid" 2>/dev/null || { echo "the demo did not run: $(cat err)"; exit 1; }
}

expect_loss_noticed() {  # expect_loss_noticed WAY [TENTHS]: within two seconds, or TENTHS
  for _ in $(seq 1 "${2:-20}"); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then kill -9 "$pid"; echo "$1: the demo hung"; exit 1; fi
  local status=0
  wait "$pid" || status=$?
  pid=""
  [ "$status" -eq 1 ] || { echo "$1: exit status $status, expected 1: $(cat err)"; exit 1; }
  grep -q "the display went away" err || { echo "$1: no word of the display going away: $(cat err)"; exit 1; }
  echo "ok: $1: the demo ended with status 1 and said why"
}

start_server
run_demo_on "$display"
kill "$server"
wait "$server" 2>/dev/null || true
server=""
expect_loss_noticed "the X server ended"

start_server
relayed="$(free_display)"
python3 "$here/x_socket_relay.py" "/tmp/.X11-unix/X$relayed" "/tmp/.X11-unix/X$display" &
relay=$!
wait_for_display "$relayed"
run_demo_on "$relayed"
kill -USR1 "$relay"
expect_loss_noticed "the display's socket stopped taking writes"
kill "$relay"; wait "$relay" 2>/dev/null || true
rm -f "/tmp/.X11-unix/X$relayed"
relay=""

# The connection ends when the GL library asks for MIT-SHM, making the GL path's first window:
# the library reads an answer that never comes. Within 20 s, however busy the machine.
relayed="$(free_display)"
python3 "$here/x_socket_relay.py" "/tmp/.X11-unix/X$relayed" "/tmp/.X11-unix/X$display" MIT-SHM &
relay=$!
wait_for_display "$relayed"
DISPLAY=":$relayed" "$demo" > out 2> err &
pid=$!
expect_loss_noticed "the display went away in the GL library's first calls" 200
kill "$relay"; wait "$relay" 2>/dev/null || true
rm -f "/tmp/.X11-unix/X$relayed"
relay=""
