#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz (coverage, AddressSanitizer and
# UndefinedBehaviorSanitizer in every library), runs every committed corpus file once, then
# fuzzes each target for SECONDS (default 60). New inputs go to build-fuzz/corpus; crashes,
# including physics-library aborts, are written to build-fuzz/findings and fail the script.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD  # the targets work in a directory of their own, so every path given is absolute
seconds=${1:-60}
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target quillmoor_fuzz_scene quillmoor_fuzz_mesh

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
# Runs a target without the physics library's warnings (it warns on every zero-length pin joint,
# say) and the lines about limits met; its aborts and every sanitizer or libFuzzer report still
# show. A failing target fails
# the pipeline (pipefail), and so the script.
quiet() {
  "$@" 2>&1 | sed -e '/^Chipmunk warning/d' -e '/^\tFailed condition/d' -e '/^\tSource:/d' \
    -e '/^quillmoor: /d'
}

mkdir -p build-fuzz/findings
for target in scene mesh; do
  binary=$root/build-fuzz/fuzz/quillmoor_fuzz_$target
  seeds=$root/fuzz/corpus/$target
  work=$root/build-fuzz/corpus/$target
  mkdir -p "$work"
  # A tick may take about 0.4 s within the work limits, and ten times that under the
  # sanitizers; an input runs 7 ticks and a reload.
  common=(-dict="$root/fuzz/quillmoor.dict" -timeout=120 -rss_limit_mb=2048
          -artifact_prefix="$root/build-fuzz/findings/$target-")
  quiet "$binary" "${common[@]}" "$seeds"/*
  quiet "$binary" "${common[@]}" -max_total_time="$seconds" -print_final_stats=1 "$work" "$seeds"
done
echo "Fuzzing found nothing."
