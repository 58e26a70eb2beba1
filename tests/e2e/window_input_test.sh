#!/usr/bin/env bash
# Keys and clicks sent to the real window reach mainWindowProc as the right messages and
# virtual-key codes, a click at its place in the display mode's pixels; Escape ends the program
# with status 1.
set -euo pipefail
probe="$1"
source "$(dirname "$0")/common.sh"
start_program ready "$probe"

xdotool mousemove 100 100
sleep 0.2
xdotool key a
xdotool key F5
xdotool key Left
# xdotool turns Num Lock on to type KP_5: a number, as on Windows. (Num Lock off, where the key
# is Clear, is in the SDL screen's key table test.)
xdotool key KP_5
xdotool key F10
xdotool key alt+b
xdotool click 1
xdotool key ctrl+shift
sleep 0.3
xdotool key Escape
for _ in $(seq 1 40); do kill -0 $pid 2>/dev/null || break; sleep 0.05; done
if kill -0 $pid 2>/dev/null; then echo "Escape did not end the program"; exit 1; fi
expect_status_one

expect() {
  grep -qx "$1" log || { echo "missing: $1"; echo "--- log:"; cat log; exit 1; }
}
expect "WM_KEYDOWN 0x41"      # A
expect "WM_KEYUP 0x41"
expect "WM_KEYDOWN 0x74"      # F5
expect "WM_KEYDOWN 0x25"      # Left
expect "WM_KEYDOWN 0x65"      # keypad 5, Num Lock on
expect "WM_SYSKEYDOWN 0x79"   # F10, a system key as on Windows
expect "WM_SYSKEYDOWN 0x12"   # Alt
expect "WM_SYSKEYDOWN 0x42"   # B with Alt held
# At (100, 100) of the 640 x 480 screen, which shows the 320 x 240 mode at twice its size.
expect "WM_LBUTTONDOWN 0x01 at 50,50"
expect "WM_KEYDOWN 0x11"      # Control
expect "WM_KEYDOWN 0x10"      # Shift
expect "WM_KEYDOWN 0x1B"      # Escape
echo "window input: all messages arrived; status 1"
