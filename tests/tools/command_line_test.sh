#!/usr/bin/env bash
# The tools' command-line habits, as a user meets them: --help and --version answer with status
# 0 and write no file, an unknown option is refused with the usage and status 2, and "--" lets a
# file's name begin with a dash. rotozoom-capture says how long its frames take, and shows its
# progress on a terminal, and only there.
#   command_line_test.sh MAKE_TEXTURE ROTOZOOM_CAPTURE VERSION
set -uo pipefail
make_texture="$1" capture="$2" version="$3"
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
cd "$folder"
failures=0

# expect NAME STATUS PATTERN COMMAND...: the status, and a line of the output matching PATTERN.
expect() {
  local name="$1" status="$2" pattern="$3"
  shift 3
  local output
  output="$("$@" 2>&1)"
  local actual=$?
  if [ "$actual" -ne "$status" ] || ! grep -qE -- "$pattern" <<<"$output"; then
    echo "FAILED: $name: status $actual (expected $status), output:"
    sed 's/^/  /' <<<"$output"
    failures=$((failures + 1))
  else
    echo "ok: $name"
  fi
}

for tool in "$make_texture" "$capture"; do
  name="$(basename "$tool")"
  expect "$name --help" 0 "^usage: $name " "$tool" --help
  expect "$name -h" 0 "^usage: $name " "$tool" -h
  expect "$name --version" 0 "^$name \(rotozoom\) $version$" "$tool" --version
  expect "$name --bogus" 2 "^$name: unknown option '--bogus'" "$tool" --bogus
  expect "$name -x" 2 "^usage: $name " "$tool" -x
done
expect "make-texture with two files" 2 "one FILE at the most" "$make_texture" a.bmp b.bmp
expect "make-texture --dither without --from" 2 "needs --from IMAGE" "$make_texture" --dither
expect "make-texture --from without IMAGE" 2 "option '--from' needs a value" "$make_texture" --from
expect "make-texture --help: what --from reads" 0 "PNG, JPEG, GIF .*WebP or" "$make_texture" --help
expect "rotozoom-capture without COUNT" 2 "^usage: rotozoom-capture" "$capture"
expect "rotozoom-capture COUNT 0" 2 "COUNT must be 1 to" "$capture" 0
expect "rotozoom-capture --help: the time a frame takes" 0 "about [0-9.]+ ms a frame" \
  "$capture" --help
if [ -n "$(ls -A)" ]; then
  echo "FAILED: the answers above wrote files: $(ls -A)"
  failures=$((failures + 1))
fi

expect "make-texture -- -dashed.bmp" 0 "" "$make_texture" -- -dashed.bmp
if [ ! -s ./-dashed.bmp ] || [ "$(head -c 2 ./-dashed.bmp)" != "BM" ]; then
  echo "FAILED: make-texture -- -dashed.bmp wrote no bitmap"
  failures=$((failures + 1))
fi
expect "make-texture default name" 0 "" "$make_texture"
[ -s texture.bmp ] || { echo "FAILED: no texture.bmp"; failures=$((failures + 1)); }

# On a terminal (script gives the capture one), a progress line counts up to the last frame.
transcript="$(script -qec "$(printf '%q ' "$capture" 2 600)" /dev/null < /dev/null | tr '\r' '\n')"
if ! grep -q "^rotozoom-capture: frame 1 of 602 " <<<"$transcript" ||
  ! grep -q "^rotozoom-capture: frame 602 of 602 (100.0 %)" <<<"$transcript" ||
  [ ! -s frame-00601.png ]; then
  echo "FAILED: rotozoom-capture on a terminal: no progress to the last frame:"
  sed 's/^/  /' <<<"$transcript"
  failures=$((failures + 1))
else
  echo "ok: rotozoom-capture shows its progress on a terminal"
fi
# Not a terminal: a run that goes well says nothing.
if ! "$capture" 1 300 2> errors || [ -s errors ] || [ ! -s frame-00300.png ]; then
  echo "FAILED: rotozoom-capture with standard error in a file wrote to it: $(cat errors)"
  failures=$((failures + 1))
else
  echo "ok: rotozoom-capture is quiet when standard error is not a terminal"
fi

exit $((failures > 0))
