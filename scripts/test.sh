#!/usr/bin/env bash
# Installs what is needed, builds the test configuration (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every unit test in it, each in its own process; fuzzes
# the texture file reader for a minute; then
# makes the packages (the Windows programs among them), builds the Release configuration and
# runs the end-to-end tests, one at a time, each on its own virtual X display: the Linux
# programs, then the Windows ones under Wine; then the web build and its pages in headless
# Chromium; last, the README and the Debian package are tried on a fresh minimal Debian system.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/install-deps.sh" test

# The unit tests in the sanitizer build: the developers' quick entry.
bash "$root/scripts/unit-tests.sh"
build="$root/build/sanitize"
# The fuzzer and the corpus replay below run under the same sanitizer settings.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"

# The texture file fuzzer (clang, libFuzzer) for a minute from the seed corpus; what it finds
# is replayed through the demo, built with the sanitizers above, in child processes.
fuzz="$root/build/fuzz"
cmake -S "$root" -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DROTOZOOM_FUZZ=ON
cmake --build "$fuzz"
"$root/tests/fuzz/run_fuzzer.sh" "$fuzz/tests/fuzz/texture_fuzzer" "$root/tests/fuzz/corpus" 60 \
  "$fuzz/artifacts" "$build/tools/rotozoom-capture"

# The packages (dist/): the Debian package and the Windows zip, whose programs are the ones the
# Wine test below runs.
bash "$root/scripts/package.sh"
bash "$root/tests/packaging/package_contents_test.sh" "$root" "$root"/dist/rotozoom_*_amd64.deb \
  "$root"/dist/rotozoom-*-windows-x86_64.zip

release="$root/build/release"
cmake -S "$root" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DROTOZOOM_TESTS=ON -DROTOZOOM_BENCH=ON \
  -DROTOZOOM_WINDOWS_BUILD="$root/build/windows"
cmake --build "$release"
ctest --test-dir "$release" --output-on-failure -L 'e2e|wine|long'

# The browser: the web build, its pages in headless Chromium (a frame read back from the canvas
# matched against the Linux frames), and the per-frame work in WebAssembly beside the native
# build (figures only: benchmarks do not gate).
bash "$root/scripts/build-web.sh"
(cd "$root/tests/web" && npm ci --no-audit --no-fund --silent)
node "$root/tests/web/web_test.js" "$root/build/web" "$release/tests/wine/match-frame" \
  "$root/build/web-test" "$release/tools/make-texture"
# The page's texture maker makes make-texture's very texture from the same pixels.
node "$root/tests/web/texture_maker_test.js" "$root/build/web" "$release/tools/make-texture"
NODE_PATH=/usr/share/nodejs bash "$root/bench/wasm_compare.sh" "$release/bench/frame-timing" \
  "$root/build/web/bench/frame-timing.js" || echo "test: the WebAssembly timing did not run"

# A newcomer's first ten minutes on a minimal Debian 12 (debootstrap, cached in
# /var/cache/rotozoom-fresh-system): the README's run instructions, then the Debian package.
bash "$root/tests/fresh_system/fresh_system_test.sh" "$root" "$root"/dist/rotozoom_*_amd64.deb \
  "$root/build/fresh-system"
