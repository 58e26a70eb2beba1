#!/usr/bin/env bash
# A newcomer's first ten minutes, on a minimal Debian 12 made with debootstrap (the base system
# is cached in /var/cache/rotozoom-fresh-system between runs):
#   1. the checkout is cloned into it, and the README's run command is tried without a display:
#      it must say what to do, in English, and install nothing;
#   2. the README's way on a virtual display, as written: Xvfb installed, then the run command
#      under xvfb-run; the demo's window appears showing a picture, Escape, status 1;
#   3. the Debian package installed with apt, and the demo started as its desktop entry starts
#      it (from the entry's folder): the window, Escape, status 1; then the package removed,
#      leaving none of its files behind.
# Prints the times and sizes it measured. Needs root.
#   fresh_system_test.sh CHECKOUT DEB [SCREENSHOTS]
set -euo pipefail
checkout="$(cd "$1" && pwd)"
deb="$(readlink -f "$2")"
screenshots="${3:-$checkout/build/fresh-system}"
mkdir -p "$screenshots"
cache=/var/cache/rotozoom-fresh-system
base="$cache/bookworm-minbase.tar.gz"
mirror=http://deb.debian.org/debian
title="ぽこるん"

# Every mount under the folder, deepest first; then the folder, never crossing into a mount.
remove_system() {
  local root="$1"
  [ -d "$root" ] || return 0
  awk -v root="$root" '$2 == root || index($2, root "/") == 1 { print $2 }' /proc/mounts |
    sort -r | while read -r mount; do umount "$mount" 2>/dev/null || umount -l "$mount"; done
  rm -rf --one-file-system "$root"
}

system="$(mktemp -d /var/tmp/rotozoom-fresh-system.XXXXXX)"
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  pkill -f "$system" 2>/dev/null || true
  remove_system "$system"
}
trap cleanup EXIT

seconds() { date +%s; }
megabytes() { du -sxm "$system" | cut -f1; }

if [ ! -s "$base" ]; then
  echo "fresh-system: making the cached base system (debootstrap, once)"
  mkdir -p "$cache"
  made="$(mktemp -d /var/tmp/rotozoom-debootstrap.XXXXXX)"
  debootstrap --variant=minbase bookworm "$made" "$mirror" > "$cache/debootstrap.log" 2>&1 || {
    tail -20 "$cache/debootstrap.log"
    remove_system "$made"
    exit 1
  }
  tar -C "$made" -czf "$base.part" . && mv "$base.part" "$base"
  remove_system "$made"
fi

tar -C "$system" -xzf "$base"
cp /etc/resolv.conf "$system/etc/resolv.conf"
for mount in proc sys dev dev/pts dev/shm; do
  mkdir -p "$system/$mount"
  mount --bind "/$mount" "$system/$mount"
done
in_system() { chroot "$system" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
  LANG=C.UTF-8 TERM=dumb "$@"; }
echo "fresh-system: base system $(megabytes) MB"

# The checkout as a newcomer gets it: a clone, with nothing built.
git clone -q "$checkout" "$system/root/rotozoom"

# 1. No display: the run command says what to do and installs nothing.
status=0
in_system bash /root/rotozoom/scripts/run.sh > "$system/no-display.txt" 2>&1 || status=$?
if [ "$status" -eq 0 ] || ! grep -q "xvfb-run" "$system/no-display.txt" ||
  in_system dpkg-query -W cmake > /dev/null 2>&1; then
  echo "FAILED: without a display the run command did not stop at once with its advice:"
  cat "$system/no-display.txt"
  exit 1
fi
echo "fresh-system: without a display: $(head -1 "$system/no-display.txt")"

# wait_for_window SECONDS: the demo's window on the chroot's virtual display, through the
# display's own cookie; prints the window's id.
wait_for_window() {
  local until=$(($(seconds) + $1)) auth lock display window
  while [ "$(seconds)" -lt "$until" ]; do
    auth="$(ls "$system"/tmp/xvfb-run.*/Xauthority 2>/dev/null | head -1)"
    lock="$(ls "$system"/tmp/.X*-lock 2>/dev/null | head -1)"
    if [ -n "$auth" ] && [ -n "$lock" ]; then
      display=":$(basename "$lock" | tr -dc 0-9)"
      for window in $(XAUTHORITY="$auth" DISPLAY=$display xdotool search --name "" 2>/dev/null); do
        if [ "$(XAUTHORITY="$auth" DISPLAY=$display xdotool getwindowname "$window" 2>/dev/null)" = \
          "$title" ]; then
          echo "$auth $display $window"
          return 0
        fi
      done
    fi
    sleep 1
  done
  return 1
}

# run_until_escape LABEL SECONDS COMMAND...: runs the command in the system, waits for the
# window, checks the screen shows a picture, presses Escape and expects status 1.
run_until_escape() {
  local label="$1" limit="$2"
  shift 2
  local started found auth display window status=0
  started=$(seconds)
  in_system "$@" > "$system/$label.log" 2>&1 &
  xvfb_pid=$!
  if ! found="$(wait_for_window "$limit")"; then
    echo "FAILED: $label: no window within $limit s; the last lines:"
    tail -20 "$system/$label.log"
    exit 1
  fi
  read -r auth display window <<< "$found"
  echo "fresh-system: $label: window after $(($(seconds) - started)) s"
  sleep 2
  XAUTHORITY="$auth" DISPLAY=$display import -window root "$system/$label.png"
  cp "$system/$label.png" "$screenshots/$label.png" 2>/dev/null || true
  local colours
  colours="$(convert "$system/$label.png" -format %k info:)"
  [ "$colours" -gt 16 ] || { echo "FAILED: $label: the screen shows $colours colours"; exit 1; }
  XAUTHORITY="$auth" DISPLAY=$display xdotool key --window "$window" Escape
  wait "$xvfb_pid" || status=$?
  xvfb_pid=""
  [ "$status" -eq 1 ] || { echo "FAILED: $label: status $status, expected 1"; tail "$system/$label.log"; exit 1; }
  echo "fresh-system: $label: Escape, status 1 ($colours colours on the screen)"
}

# 2. The README's way, as written: Xvfb, then the run command under xvfb-run.
before=$(megabytes)
started=$(seconds)
in_system bash -c "apt-get update -qq && apt-get install -y -qq xvfb xauth" > "$system/xvfb.log" 2>&1
run_until_escape "run command" 900 \
  xvfb-run -a -s "-screen 0 640x480x24" bash /root/rotozoom/scripts/run.sh
echo "fresh-system: the first run took $(($(seconds) - started)) s and grew the system from" \
  "$before MB to $(megabytes) MB"

# 3. The package: installed with apt, started as the desktop entry does, removed.
cp "$deb" "$system/root/"
in_system apt-get install -y -qq "/root/$(basename "$deb")" > "$system/install.log" 2>&1 || {
  cat "$system/install.log"
  exit 1
}
in_system dpkg-query -L rotozoom | sort > "$system/package-files.txt"
entry="$system/usr/share/applications/rotozoom.desktop"
exec_line="$(sed -n 's/^Exec=//p' "$entry")"
path_line="$(sed -n 's/^Path=//p' "$entry")"
[ -f "$system$path_line/texture.bmp" ] || { echo "FAILED: no texture.bmp in $path_line"; exit 1; }
run_until_escape "desktop entry" 60 \
  xvfb-run -a -s "-screen 0 640x480x24" bash -c "cd '$path_line' && exec $exec_line"
in_system apt-get remove --purge -y -qq rotozoom > "$system/remove.log" 2>&1
left=0
while read -r file; do
  [ -f "$system$file" ] && { echo "left behind: $file"; left=1; }
done < "$system/package-files.txt"
[ "$left" -eq 0 ] || { echo "FAILED: removing the package left files behind"; exit 1; }
echo "fresh-system: the package: $(du -k "$deb" | cut -f1) KB, installed and removed cleanly" \
  "($(wc -l < "$system/package-files.txt") paths)"
