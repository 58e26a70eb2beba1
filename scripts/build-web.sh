#!/usr/bin/env bash
# Builds the browser's programs into build/web: rotozoom.html and every program's page with their
# .js and .wasm, the page's scripts and style, the recordings' muxer, and the sample texture;
# serve the folder with scripts/serve-web.sh. Installs what it needs (Debian's emscripten, which
# builds offline, and npm), and the muxer from npm as pages/package-lock.json pins it: after
# that first `npm ci`, it builds offline.
#   build-web.sh              everything, the tests' pages and the benchmark's harness too
#   build-web.sh TARGET...    only those programs (with the pages and the sample texture)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/install-deps.sh" web
# Emscripten's tools are Node programs that need Debian's own Node modules.
export NODE_PATH=/usr/share/nodejs

# The recordings' muxer, unless the installed one is the locked one already.
pages="$root/pages"
if [ ! -f "$pages/node_modules/.package-lock.json" ] ||
  [ "$pages/package-lock.json" -nt "$pages/node_modules/.package-lock.json" ]; then
  (cd "$pages" && npm ci --no-audit --no-fund --silent)
fi

# The sample texture, made by the native tool.
tools="$root/build/web-tools"
cmake -S "$root" -B "$tools" -G Ninja -DCMAKE_BUILD_TYPE=Release -DROTOZOOM_TESTS=OFF \
  -DROTOZOOM_BENCH=OFF > /dev/null
cmake --build "$tools" --target make-texture

web="$root/build/web"
emcmake cmake -S "$root" -B "$web" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$web" -j "$(nproc)" ${1:+--target "$@"}
"$tools/tools/make-texture" "$web/texture.bmp"
echo "build-web: the pages are in $web (serve them with: bash scripts/serve-web.sh)"
