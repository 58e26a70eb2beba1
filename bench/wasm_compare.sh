#!/usr/bin/env bash
# The per-frame work in WebAssembly (under Node) beside the native build, in one run: the
# mapper, the frame's conversion to RGBA, and a whole frame, each as the WebAssembly median
# over the native one. Both must draw the same picture (their checksums agree).
#   bench/wasm_compare.sh NATIVE_FRAME_TIMING WASM_FRAME_TIMING_JS
set -euo pipefail
native="$1" wasm="$2"
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
cd "$folder"
# Emscripten 3.1.6's loader reads the .wasm with fetch where Node has one; it must use files.
node --no-experimental-fetch "$wasm" > wasm.txt
"$native" > native.txt
node --no-experimental-fetch "$wasm" > wasm2.txt
"$native" > native2.txt
python3 - <<'PYTHON'
def read(name):
    values = {}
    for line in open(name):
        key, value = line.rsplit(" ", 1)
        values[key] = value.strip()
    return values
runs = [(read("native.txt"), read("wasm.txt")), (read("native2.txt"), read("wasm2.txt"))]
for native, wasm in runs:
    if native["picture checksum"] != wasm["picture checksum"]:
        raise SystemExit("FAILED: WebAssembly drew another picture than the native build")
print(f"{'':22} {'native ns':>12} {'wasm ns':>12} {'wasm/native':>12}")
for key in ("mapper", "mapper, portable path", "conversion", "frame"):
    native = sorted(float(run[0][key]) for run in runs)[0]
    wasm = sorted(float(run[1][key]) for run in runs)[0]
    print(f"{key:22} {native:12.0f} {wasm:12.0f} {wasm / native:11.2f}x")
PYTHON
