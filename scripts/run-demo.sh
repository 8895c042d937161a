#!/usr/bin/env bash
# Installs what is missing, builds, and runs the viewer on the bundled demo scene.
# Extra arguments go to the viewer (for example --fullscreen).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
cmake --build build -j"$(nproc)"
cd demo
exec ../build/quillmoor "$@"
