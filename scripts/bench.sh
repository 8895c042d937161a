#!/usr/bin/env bash
# Builds and runs the benchmarks (Google Benchmark; scripts/install-deps.sh --test installs
# it). Drawing needs an X display: without one the run goes through a headless X server.
# Extra arguments go to the benchmark program, e.g. --benchmark_filter=tick.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${BENCH_BUILD_DIR:-build-bench}
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" --target quillmoor_bench
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$dir/quillmoor_bench" "$@"
fi
exec "$dir/quillmoor_bench" "$@"
