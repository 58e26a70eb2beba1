#!/usr/bin/env bash
# Serves build/web on the loopback address for a browser on this machine:
#   bash scripts/serve-web.sh [PORT]     then open http://127.0.0.1:PORT/rotozoom.html
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
port="${1:-8080}"
[ -f "$root/build/web/rotozoom.html" ] || { echo "serve-web: build first: bash scripts/build-web.sh" >&2; exit 1; }
echo "serve-web: open http://127.0.0.1:$port/rotozoom.html (Ctrl+C stops it)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$root/build/web"
