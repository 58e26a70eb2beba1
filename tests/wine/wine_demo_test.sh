#!/usr/bin/env bash
# The Windows build of the demo under Wine, in Wine's virtual desktop inside Xvfb (a plain X
# server cannot switch to 320 x 240 x 8), in a temporary folder with a fresh Wine prefix:
#  - with the sample texture the desktop shows the turning texture: screenshots of it are
#    frames the demo draws on Linux, two different ones;
#  - Escape ends it with status 1;
#  - without texture.bmp the file-not-found box appears, and closing it with a key ends the
#    program with status 1.
# Screenshots are kept in SHOTS for people to look at.
set -euo pipefail
exe="$1"
box_text="$2"
make_texture="$3"
match_frame="$4"
shots="$5"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/common.sh"
mkdir -p "$shots"

fail() { echo "FAILED: $*"; [ -f err ] && tail -5 err; exit 1; }

source "$here/wine_prefix.sh"
echo "ok: prefix ready"

start_demo() {
  wine "$exe" > out 2> err &
  pid=$!
  for _ in $(seq 1 200); do
    window_titled "ぽこるん" > /dev/null && return 0
    if ! kill -0 "$pid" 2>/dev/null; then
      local status=0
      wait "$pid" || status=$?
      pid=""
      fail "the demo ended with status $status before its window appeared"
    fi
    sleep 0.1
  done
  fail "the demo's window did not appear"
}

expect_exit_with_status_one() {  # expect_exit_with_status_one WHAT
  for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "$1 did not end the demo within 5 s"
  expect_status_one
  echo "ok: $1 ends the demo with status 1"
}

"$make_texture" texture.bmp
start_demo
sleep 2
desktop="$(window_titled "Default - Wine desktop")" || fail "no Wine desktop window"
# Screenshots until two of them are frames the demo draws on Linux, and different ones: the
# picture is the demo's, and it moves. Unpaced under Wine it runs at about 1,000 frames a
# second, so a shot may mix two frames while one is drawn; a zoomed-in frame has few colours.
matched=()
for n in $(seq 1 10); do
  import -window root "$shots/wine-$n.png"
  # The desktop's place on the screen, and the picture in it scaled back to 320 x 240.
  eval "$(xdotool getwindowgeometry --shell "$desktop")"
  convert "$shots/wine-$n.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
    -sample '320x240!' rgb:picture.rgb
  if "$match_frame" picture.rgb > match.txt; then
    frame="$(sed -n 's/^best frame \([0-9]*\):.*/\1/p' match.txt)"
    [ "${#matched[@]}" -gt 0 ] && [ "${matched[0]}" = "$frame" ] || matched+=("$frame")
  else
    echo "screenshot $n is no frame drawn on Linux: $(cat match.txt)"
  fi
  [ "${#matched[@]}" -ge 2 ] && break
  sleep 0.3
done
[ "${#matched[@]}" -ge 1 ] || fail "no screenshot matches a frame drawn on Linux"
[ "${#matched[@]}" -ge 2 ] || fail "the picture does not move: every match is frame ${matched[0]}"
echo "ok: the texture turns; the pictures under Wine are Linux's frames ${matched[*]}"

xdotool mousemove 100 100 key Escape
expect_exit_with_status_one "Escape"

rm texture.bmp
wine "$exe" > out 2> err &
pid=$!
caption="エラーが発生したらしい(^^;"
echo "$caption" > caption.txt
wine "$box_text" caption.txt 2> /dev/null | tr -d '\r' > box.txt ||
  fail "no message box titled $caption appeared"
grep -qx "texture.bmp ファイルが見つかりません" box.txt || fail "the box says: $(cat box.txt)"
import -window root "$shots/wine-message-box.png"
kill -0 "$pid" 2>/dev/null || fail "the demo ended before the box was answered"
xdotool key Return
expect_exit_with_status_one "answering the file-not-found box"
