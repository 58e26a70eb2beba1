#!/usr/bin/env bash
# Installs, from Debian's packages, everything the project builds, tests and runs with.
# Idempotent: packages already present are left alone, and apt is not touched when all are.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config
  libgtest-dev libbenchmark-dev
  libsdl2-dev libfreetype-dev libfontconfig-dev libpng-dev libx11-dev
  # the real screen's end-to-end tests, and screenshots
  xvfb xauth xdotool imagemagick
  # the benchmark comparison script
  python3
  # the texture fuzzer: clang with its libFuzzer and sanitizer runtimes
  clang libclang-rt-14-dev
  # the Windows build, and its tests under Wine
  g++-mingw-w64-x86-64-posix wine wine64
  # fonts: the default Latin face, and Japanese
  fonts-dejavu-core fonts-ipafont-gothic
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: these packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
