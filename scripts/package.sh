#!/usr/bin/env bash
# Makes the packages for people who do not build, in dist/ of this checkout:
#   rotozoom_VERSION_amd64.deb                the Debian package (CMake's install rules and
#                                             CPack; its dependencies worked out from the binaries)
#   rotozoom-VERSION-windows-x86_64.zip       rotozoom.exe, engine-showcase.exe, the sample
#                                             texture and a read-me, to run where unpacked
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/install-deps.sh" package

dist="$root/dist"
mkdir -p "$dist"

# Linux: a build of the programs alone, packaged by CPack's Debian generator.
linux="$root/build/package-linux"
cmake -S "$root" -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DROTOZOOM_TESTS=OFF \
  -DROTOZOOM_BENCH=OFF
cmake --build "$linux"
(cd "$linux" && cpack -G DEB -B "$linux/cpack" >/dev/null)
cp "$linux"/cpack/*.deb "$dist/"

# Windows: the cross build, with the sample texture the Linux build made.
windows="$root/build/windows"
cmake -S "$root" -B "$windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DROTOZOOM_SAMPLE_TEXTURE="$linux/packaging/texture.bmp"
cmake --build "$windows"
(cd "$windows" && cpack -G ZIP -B "$windows/cpack" >/dev/null)
cp "$windows"/cpack/*.zip "$dist/"

ls -l "$dist"
