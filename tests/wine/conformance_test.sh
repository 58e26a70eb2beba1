#!/usr/bin/env bash
# The DirectDraw conformance tables against the real ddraw.dll under Wine: every case must hold
# there as it holds on our layer (conformance.ddraw), so that each expectation is confirmed by
# the real thing.
#   conformance_test.sh DDRAW_CONFORMANCE_EXE
set -euo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/common.sh"
# 800 x 480 offers 640 x 480 and 800 x 480: two modes that differ in their width only.
WINE_DESKTOP_SIZE=800x480
source "$here/wine_prefix.sh"
status=0
# A case that never answers fails here, by name (the last line printed), not by CTest's timeout.
timeout 60 env LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8 wine "$exe" > out.txt 2> err.txt || status=$?
tr -d '\r' < out.txt
[ "$status" -ne 124 ] || echo "FAILED: the program stopped answering after the last case above"
[ "$status" -eq 0 ] || { echo "FAILED: the real ddraw.dll answered otherwise (status $status)"; exit 1; }
