#!/usr/bin/env bash
# What video costs, on the Release build (build/release):
# - rotozoom-capture --video: frames encoded per second and processor time per frame, and the
#   file size of 10 s (600 frames) in each format, against the same frames as PNGs;
# - the desktop demo's whole-process cost while it records (Alt+R) and while it does not, each
#   on its own Xvfb screen through process_cost.sh (PROCESS_COST, by default the shared copy),
#   and the pictures the recording dropped.
#
#   bash bench/video_bench.sh
#
# Not a test: figures on a shared machine move from run to run; compare within one run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/release"
process_cost="${PROCESS_COST:-/work/shared/bench/process_cost.sh}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" --target rotozoom-capture make-texture rotozoom > /dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
"$build/tools/make-texture" > /dev/null
frames=600

# measure LABEL COMMAND...: wall and processor time of one run, frames a second, size written.
measure() {
  local label="$1"
  shift
  /usr/bin/time -o times -f '%e %U %S' "$@" > /dev/null 2>&1
  read -r wall user system < times
  local bytes
  bytes="$(find . -maxdepth 1 \( -name 'clip.*' -o -name 'frame-*.png' \) -printf '%s\n' |
    awk '{ total += $1 } END { print total + 0 }')"
  python3 - "$label" "$frames" "$wall" "$user" "$system" "$bytes" <<'PYTHON'
import sys
label, frames, wall, user, system, size = sys.argv[1:]
frames, wall, cpu, size = int(frames), float(wall), float(user) + float(system), int(size)
print(f"{label:<24} {frames / wall:7.1f} frames/s  {1000 * cpu / frames:6.2f} ms CPU a frame  "
      f"{size / 1e6:6.2f} MB for 10 s ({8 * size / 10 / 1e6:5.2f} Mbit/s)")
PYTHON
  rm -f clip.* frame-*.png
}

echo "rotozoom-capture, $frames frames (10 s at 60 a second):"
measure "PNG frames" "$build/tools/rotozoom-capture" "$frames"
measure "--video clip.mp4" "$build/tools/rotozoom-capture" --video clip.mp4 "$frames"
measure "--video clip.mkv" "$build/tools/rotozoom-capture" --video clip.mkv "$frames"

if [ ! -x "$process_cost" ] && [ ! -f "$process_cost" ]; then
  echo "no $process_cost: set PROCESS_COST to process_cost.sh to measure the desktop recording"
  exit 0
fi
echo
echo "The demo on the desktop (process_cost.sh, 1280 x 960 screen), not recording and recording:"
mkdir idle recording
cp texture.bmp idle/ && cp texture.bmp recording/
bash "$process_cost" 1280x960 "not recording" "$work/idle" -- "$build/demo/rotozoom"
# Alt+R a second after the start, so the recording runs through the whole measured window;
# the shell gives its process to the demo, which process_cost.sh measures and ends.
bash "$process_cost" 1280x960 "recording" "$work/recording" -- sh -c \
  '(sleep 1; xdotool key alt+r) & exec "$0" 2> recording.log' "$build/demo/rotozoom"
sleep 1
# process_cost.sh ends the demo with SIGTERM and, half a second later, SIGKILL: a recording
# whose finishing takes longer than that is cut short, so only its lines are shown.
sed -n 's/^recording: /  recording: /p' "$work/recording/recording.log"
