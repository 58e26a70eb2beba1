#!/usr/bin/env bash
# Runs long-run for FRAMES frames in a temporary folder holding the sample texture.
#   long_run_test.sh LONG_RUN MAKE_TEXTURE FRAMES
set -euo pipefail
long_run="$1"
make_texture="$2"
frames="$3"
source "$(dirname "$0")/../e2e/common.sh"
"$make_texture" texture.bmp > /dev/null
"$long_run" "$frames"
