#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: in a normal build, and in a
# build with AddressSanitizer and UndefinedBehaviorSanitizer (leaks count as failures in
# the tests that open no window). Window tests run on a headless X server (Xvfb). Then the
# libFuzzer targets run briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
jobs=$(nproc)

run_suite() {
  local dir=$1
  shift
  cmake -S . -B "$dir" "$@"
  cmake --build "$dir" -j"$jobs"
  # Window tests share one display and its pointer, so they run one at a time.
  (cd "$dir" && ctest --output-on-failure --no-tests=error -j"$jobs" -LE window)
  (cd "$dir" && xvfb-run -a -s "-screen 0 1024x768x24 -noreset" ctest --output-on-failure --no-tests=error -L window)
}

run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DQUILLMOOR_SANITIZE=ON
# The fuzz targets: every corpus file once, then 60 seconds of fuzzing each.
scripts/fuzz.sh 60
echo "All tests passed (normal and sanitizer builds, fuzzing)."
