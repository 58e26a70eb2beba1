#!/usr/bin/env bash
# Installs, from Debian's packages, what the project needs for one purpose:
#   install-deps.sh run      building and running the demo: the build tools, the libraries and
#                            the fonts (on a minimal Debian 12, about 970 MB installed)
#   install-deps.sh test     everything the tests use besides: Xvfb, the Windows cross compiler
#                            and Wine, clang for the fuzzer, emscripten and Chromium, the
#                            packaging and fresh-system tools
#   install-deps.sh package  what scripts/package.sh needs on top of the run set
#   install-deps.sh web      what scripts/build-web.sh needs on top of the run set (npm too,
#                            for the pages' muxer, unless the machine has one of its own)
# Idempotent: packages already present are left alone, and apt is not touched when all are.
set -euo pipefail

run_packages=(
  cmake ninja-build g++ pkg-config
  libsdl2-dev libfreetype-dev libfontconfig-dev libpng-dev libx11-dev
  # make-texture --from: PNG, JPEG, GIF, WebP and BMP pictures
  libsdl2-image-dev
  # OpenGL ES 3.0's header, for the GPU presenter (libsdl2-dev brings it too)
  libgles-dev
  # video files: rotozoom-capture --video and the desktop's recordings (H.264 through libx264)
  libavformat-dev libavcodec-dev libavutil-dev
  # fonts: the default Latin face, and Japanese for the system's texts
  fonts-dejavu-core fonts-ipafont-gothic
)
package_packages=(
  # the Windows programs in the zip, and the tools CPack's Debian generator calls
  g++-mingw-w64-x86-64-posix dpkg-dev file zip
)
web_packages=(
  # the browser build: Debian's emscripten (it brings its own clang and Debian's Node.js)
  emscripten
)
test_packages=(
  # the browser tests: Debian's Chromium, driven by puppeteer-core from npm
  chromium
  libgtest-dev libbenchmark-dev
  # the real screen's end-to-end tests, and screenshots; ffprobe and ffmpeg read videos back
  xvfb xauth xdotool imagemagick ffmpeg
  # the benchmark comparison script and the layer checks
  python3
  # the texture fuzzer: clang with its libFuzzer and sanitizer runtimes
  clang libclang-rt-14-dev
  # the Windows build, and its tests under Wine
  wine wine64
  # the fresh-system test: a minimal Debian made with debootstrap
  debootstrap git
)

case "${1:-test}" in
  run) packages=("${run_packages[@]}") ;;
  package) packages=("${run_packages[@]}" "${package_packages[@]}") ;;
  web)
    packages=("${run_packages[@]}" "${web_packages[@]}")
    command -v npm > /dev/null || packages+=(npm)
    ;;
  test)
    packages=("${run_packages[@]}" "${package_packages[@]}" "${web_packages[@]}"
      "${test_packages[@]}")
    # npm for puppeteer-core and the pages' muxer, unless the machine has one of its own
    command -v npm > /dev/null || packages+=(npm)
    ;;
  *)
    echo "usage: install-deps.sh run|test|package|web" >&2
    exit 2
    ;;
esac

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
