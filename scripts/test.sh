#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: in a normal build, and in a
# build with AddressSanitizer and UndefinedBehaviorSanitizer (leaks count as failures in
# the tests that open no window). Window tests run on a headless X server (Xvfb). Then the
# tests of the stepping thread run under ThreadSanitizer, the libFuzzer targets briefly, and
# the web page's tests in headless Chromium.
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
  run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DQUILLMOOR_SANITIZE=address
# ThreadSanitizer: only what the label threads needs is built. Chipmunk itself is not
# instrumented, so it sees our own code's accesses, allocation and locking, not the library's.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DQUILLMOOR_SANITIZE=thread
cmake --build build-tsan -j"$jobs" --target quillmoor_thread_tests
(cd build-tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure --no-tests=error -L threads)
# The fuzz targets: every corpus file once, then 60 seconds of fuzzing each.
scripts/fuzz.sh 60
# The page in headless Chromium, where the archive offers Emscripten and Chromium.
if apt-cache show emscripten chromium >/dev/null 2>&1; then
  scripts/test-web.sh
  echo "All tests passed (normal, address and thread sanitizer builds, fuzzing, the page in a browser)."
else
  echo "All tests passed (normal, address and thread sanitizer builds, fuzzing); the page was not" \
       "tested: this system's archive has no emscripten or chromium package."
fi
