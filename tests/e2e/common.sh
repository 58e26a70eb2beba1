# What the end-to-end scripts share; sourced after `set -euo pipefail`.

# Works in a new temporary folder, removed at the end, with any program still running killed.
pid=""
work="$(mktemp -d)"
trap 'if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi; rm -rf "$work"' EXIT
cd "$work"
# What the screen remembers between runs (window or full-screen) stays in the test's folder.
export XDG_STATE_HOME="$work/state"

# start_program READY PROGRAM [ARGUMENTS...]: starts the program (standard output to `log`,
# standard error to `errors`), sets pid, and waits until it prints the line READY.
start_program() {
  local ready="$1"
  shift
  "$@" > log 2> errors &
  pid=$!
  for _ in $(seq 1 100); do grep -qx "$ready" log 2>/dev/null && return 0; sleep 0.05; done
  echo "$1 did not start:"
  cat errors
  exit 1
}

# expect_status_one: waits for the program to end and checks its exit status is 1, and that
# it left no key held.
expect_status_one() {
  local status=0
  wait "$pid" || status=$?
  pid=""
  [ "$status" -eq 1 ] || { echo "exit status $status, expected 1"; exit 1; }
  expect_no_key_held
}

# expect_no_key_held: the X server holds no key down (checked where HELD_KEYS names the
# held-keys tool). A key whose release went to a window already gone stays held, and its
# autorepeat would end the next program on the display at once.
expect_no_key_held() {
  [ -n "${HELD_KEYS:-}" ] || return 0
  local held
  held="$("$HELD_KEYS")" || { echo "keys left held in the X server: $held"; exit 1; }
}

# pixel FILE X Y: the colour at (X, Y) of an image, as "r,g,b".
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# window_titled TITLE [PID]: an X window with exactly that title (of that process, if given).
# Titles are compared here: xdotool's own --name search misses UTF-8 titles.
window_titled() {
  local w search=(--name "")
  [ -n "${2:-}" ] && search=(--pid "$2")
  for w in $(xdotool search "${search[@]}" 2>/dev/null); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$1" ] && { echo "$w"; return 0; }
  done
  return 1
}
