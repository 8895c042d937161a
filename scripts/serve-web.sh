#!/usr/bin/env bash
# Serves the page that scripts/build-web.sh built, at http://localhost:PORT/ (default 8080).
set -euo pipefail
cd "$(dirname "$0")/../build-web"
port=${1:-8080}
echo "Quillmoor in the browser: http://localhost:$port/  (Ctrl+C stops)"
exec python3 -m http.server --bind 127.0.0.1 "$port"
