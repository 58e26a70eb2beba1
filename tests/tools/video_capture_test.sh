#!/usr/bin/env bash
# rotozoom-capture --video as a user meets it, checked with FFmpeg's own tools: the lossless
# video decodes to exactly the frames written as PNGs; the MP4 has the frames asked for, at 60
# a second, 1280 x 960, in a profile browsers play; an unknown extension is a usage error; a
# name that cannot be used (a read-only folder, a symbolic link, a named pipe, an existing file)
# and a full disk give a clear line and status 1, and leave no half-written file; nor does a
# run interrupted by a signal.
#   video_capture_test.sh ROTOZOOM_CAPTURE MAKE_TEXTURE
# Mounting the small file systems (read-only, full) needs root; without it the read-only folder
# is one without write permission and the full disk is skipped (status 77).
set -uo pipefail
capture="$(realpath "$1")" make_texture="$(realpath "$2")"
folder="$(mktemp -d)"
mounts=()
cleanup() {
  for mount in "${mounts[@]}"; do umount "$mount"; done
  rm -rf "$folder"
}
trap cleanup EXIT
cd "$folder" || exit 1
"$make_texture" > /dev/null || exit 1
failures=0

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# expect NAME STATUS PATTERN COMMAND...: the status, and a line of standard error matching
# PATTERN (an empty pattern: nothing on standard error).
expect() {
  local name="$1" status="$2" pattern="$3"
  shift 3
  local errors
  errors="$(timeout 120 "$@" 2>&1 > /dev/null)"
  local actual=$?
  if [ "$actual" -ne "$status" ] ||
    { [ -n "$pattern" ] && ! grep -qE -- "$pattern" <<<"$errors"; } ||
    { [ -z "$pattern" ] && [ -n "$errors" ]; }; then
    fail "$name: status $actual (expected $status), standard error:"
    sed 's/^/  /' <<<"$errors"
  else
    echo "ok: $name"
  fi
}

# probe FILE ENTRY: one stream entry of the file, as ffprobe reports it after reading every
# frame.
probe() {
  ffprobe -v error -count_frames -select_streams v:0 -show_entries "stream=$2" -of csv=p=0 "$1"
}

# The lossless video against the PNG frames of the same run, both decoded to RGB by FFmpeg.
mkdir lossless && cp texture.bmp lossless/ && cd lossless || exit 1
expect "--video lossless.mkv 40 100" 0 "" "$capture" --video lossless.mkv 40 100
expect "the same frames as PNGs" 0 "" "$capture" 40 100
video_sum="$(ffmpeg -v error -i lossless.mkv -f rawvideo -pix_fmt rgb24 - | sha256sum)"
png_sum="$(ffmpeg -v error -framerate 60 -start_number 100 -i frame-%05d.png -f rawvideo \
  -pix_fmt rgb24 - | sha256sum)"
if [ "$(probe lossless.mkv nb_read_frames)" != 40 ] || [ "$video_sum" != "$png_sum" ]; then
  fail "the lossless video's $(probe lossless.mkv nb_read_frames) frames differ from the 40 PNGs"
else
  echo "ok: the lossless video's frames are the PNG frames exactly"
fi
[ "$(probe lossless.mkv codec_name,width,height,r_frame_rate)" = "ffv1,320,240,60/1" ] ||
  fail "lossless.mkv: $(probe lossless.mkv codec_name,width,height,r_frame_rate)"
cd "$folder" || exit 1

# The MP4: the count asked for, 60 a second, each picture pixel a 4 x 4 block.
expect "--video clip.mp4 90" 0 "" "$capture" --video clip.mp4 90
streams="$(probe clip.mp4 codec_name,profile,width,height,pix_fmt,r_frame_rate,avg_frame_rate,nb_read_frames)"
if [ "$streams" != "h264,High,1280,960,yuv420p,60/1,60/1,90" ]; then
  fail "clip.mp4: $streams"
else
  echo "ok: clip.mp4 is $streams"
fi
duration="$(ffprobe -v error -show_entries format=duration -of csv=p=0 clip.mp4)"
[ "$duration" = "1.500000" ] || fail "clip.mp4 lasts $duration s, not 1.5"

# --video=FILE is --video FILE; on a terminal (script gives it one) the progress line counts up
# to the last frame, as for PNGs.
transcript="$(script -qec "$(printf '%q ' "$capture" --video=progress.mkv 2 100)" /dev/null \
  < /dev/null | tr '\r' '\n')"
if ! grep -q "^rotozoom-capture: frame 102 of 102 (100.0 %)" <<<"$transcript" ||
  [ "$(probe progress.mkv nb_read_frames)" != 2 ]; then
  fail "--video=progress.mkv on a terminal: no progress to the last frame, or not 2 frames:"
  sed 's/^/  /' <<<"$transcript"
else
  echo "ok: --video=FILE, with its progress on a terminal"
fi

# Names that cannot be used are refused before the run, with the usage for a wrong extension.
expect "--video clip.avi" 2 "^rotozoom-capture: the video FILE must end in \.mp4.*\.mkv" \
  "$capture" --video clip.avi 10
expect "--video without FILE" 2 "option '--video' needs a value" "$capture" 10 --video
echo older > older.mp4
expect "an existing file" 1 "^rotozoom-capture: older.mp4: the file exists; not replaced$" \
  "$capture" --video older.mp4 10
[ "$(cat older.mp4)" = older ] || fail "older.mp4 was written"
ln -s target.mp4 link.mp4
expect "a symbolic link" 1 "^rotozoom-capture: link.mp4: a symbolic link is in the way" \
  "$capture" --video link.mp4 10
[ ! -e target.mp4 ] || fail "the link was followed: target.mp4 exists"
mkfifo pipe.mkv
expect "a named pipe" 1 "^rotozoom-capture: pipe.mkv: something that is not a file" \
  "$capture" --video pipe.mkv 10

mkdir read-only
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o ro,size=64k tmpfs "$folder/read-only"; then
  mounts+=("$folder/read-only")
  reason="Read-only file system"
else
  chmod 555 read-only
  reason="Permission denied"
fi
expect "a folder that cannot be written" 1 "^rotozoom-capture: read-only/clip.mp4: $reason$" \
  "$capture" --video read-only/clip.mp4 10

# A full disk: a file system of 256 KiB fills up within the first frames of either video.
status=0
mkdir full
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=256k tmpfs "$folder/full"; then
  mounts+=("$folder/full")
  for name in clip.mp4 clip.mkv; do
    expect "a full disk: $name" 1 "^rotozoom-capture: full/$name: No space left on device$" \
      "$capture" --video "full/$name" 300
    [ -z "$(ls -A full)" ] || fail "a full disk left $(ls -A full)"
  done
else
  echo "skipped: a full disk needs a small file system mounted, which needs root"
  status=77
fi

# A run interrupted before its first frame (a large FIRST) or in the middle, by Ctrl+C or a
# kill, leaves no file: an unfinished MP4 does not play, and would refuse the name next time.
for signal in INT TERM; do
  for first in 100000000 0; do
    timeout -s "$signal" 3 "$capture" --video interrupted.mp4 1000000 "$first" 2> /dev/null
    ended=$?
    if [ "$ended" -ne 124 ] || [ -e interrupted.mp4 ]; then
      fail "SIG$signal at FIRST $first: status $ended, $(ls -l interrupted.mp4 2>&1)"
      rm -f interrupted.mp4
    else
      echo "ok: SIG$signal at FIRST $first leaves no file"
    fi
  done
done

# Nothing else left behind by the refusals above.
leftover="$(ls -A | grep -vxE 'texture.bmp|lossless|clip.mp4|progress.mkv|older.mp4|link.mp4|pipe.mkv|read-only|full')"
[ -z "$leftover" ] || fail "files left behind: $leftover"

[ "$failures" -eq 0 ] || exit 1
exit "$status"
