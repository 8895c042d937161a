#!/usr/bin/env bash
# Browser tests of the web page (web/test/): installs what is missing (Chromium, Node, a
# headless X server), builds the desktop tools and the page, writes the desktop references
# (world states and pictures from quillmoor-snapshot, the stress scene's --stats), serves
# the page on a free port and runs the tests in headless Chromium against it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
started=$(date +%s)
jobs=$(nproc)
screen="-screen 0 1280x1024x24"

# ------------------------------------------------------------------ what is missing
scripts/install-deps.sh --browser

# The test's own packages; puppeteer-core drives the system Chromium and fetches none.
export PUPPETEER_SKIP_DOWNLOAD=1
if [[ ! -f web/test/node_modules/.package-lock.json || web/test/package-lock.json -nt web/test/node_modules/.package-lock.json ]]; then
  (cd web/test && npm ci --no-audit --no-fund)
fi

# ------------------------------------------------------------------ builds
# The same configuration as scripts/test.sh, so the two share build/ without rebuilding.
[[ -f build/CMakeCache.txt ]] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
cmake --build build -j"$jobs" --target quillmoor quillmoor-snapshot quillmoor-check
scripts/build-web.sh

# ------------------------------------------------------------------ desktop references
work=$(mktemp -d "${TMPDIR:-/tmp}/quillmoor-web-test.XXXXXX")
server=
cleanup() {
  local status=$?
  if [[ -n $server ]]; then kill -- "-$server" 2>/dev/null || true; fi
  if [[ $status -eq 0 ]]; then rm -rf "$work"; else echo "test-web: references and page output kept in $work"; fi
}
trap cleanup EXIT

scenes=(demo)
for dir in examples/*/; do
  [[ -f $dir/scene.txt ]] && scenes+=("$(basename "$dir")")
done
# The page's C library (Emscripten's musl) and the desktop's (glibc) may round sin, cos,
# atan2, exp and pow differently in the last bit, and the physics amplifies that. So the
# references come twice: from the desktop with musl's versions of those functions preloaded,
# which the page must match bit for bit (a difference there is the core's own), and from the
# plain desktop, whose distance to the page the tests report.
bash web/test/musl-libm.sh "$work/musl-libm.so"
echo "test-web: desktop references for ${scenes[*]}"
mkdir -p "$work/glibc"
# One X server for all of them. Paths are absolute: -C changes the directory first.
xvfb-run -a -s "$screen" bash -euo pipefail -c '
  root=$1 work=$2
  shift 2
  musl() { LD_PRELOAD=$work/musl-libm.so "$root/build/quillmoor-snapshot" "$@" >/dev/null; }
  glibc() { "$root/build/quillmoor-snapshot" "$@" >/dev/null; }
  folder() { if [[ $1 == demo ]]; then echo "$root/demo"; else echo "$root/examples/$1"; fi; }
  for name in "$@"; do
    for ticks in 60 600; do
      musl -C "$(folder "$name")" --ticks $ticks --out "$work/scratch.png" --state "$work/$name-$ticks.json"
      glibc -C "$(folder "$name")" --ticks $ticks --out "$work/scratch.png" --state "$work/glibc/$name-$ticks.json"
    done
  done
  for name in demo glow; do
    musl -C "$(folder "$name")" --ticks 120 --out "$work/$name-120.png"
  done
  musl -C "$root/demo" --debug --ticks 120 --out "$work/demo-120-debug.png"
' _ "$root" "$work" "${scenes[@]}"

# The desktop's speed on the stress scene: the viewer's own --stats lines over 6 s, and
# 300 ticks stepped flat out by the snapshot tool (its time less that of 0 ticks).
echo "test-web: measuring the desktop viewer on examples/stress"
xvfb-run -a -s "$screen" timeout 6 build/quillmoor -C examples/stress --stats \
  >/dev/null 2>"$work/desktop-stats.txt" || true
flat=$(xvfb-run -a -s "$screen" bash -c '
  snap() { local t0 t1; t0=$(date +%s%N); "$1/build/quillmoor-snapshot" -C "$1/examples/stress" --ticks $2 --out "$3/flat.png" >/dev/null; t1=$(date +%s%N); echo $(( (t1 - t0) / 1000000 )); }
  zero=$(snap "$1" 0 "$2"); three=$(snap "$1" 300 "$2")
  echo "$zero $three"' _ "$root" "$work")
read -r zero_ms three_ms <<<"$flat"

# ------------------------------------------------------------------ serve and test
port=$(node -e 'const s = require("net").createServer(); s.listen(0, "127.0.0.1", () => { console.log(s.address().port); s.close(); });')
# A session of its own, so that the trap ends the server and whatever it started.
setsid scripts/serve-web.sh "$port" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 100); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  kill -0 "$server" 2>/dev/null || { cat "$work/server.log"; echo "test-web: the server stopped" >&2; exit 1; }
  sleep 0.2
done

echo "test-web: testing http://localhost:$port/ in headless Chromium"
status=0
QM_URL="http://localhost:$port/" QM_REF_DIR="$work" QM_SUMMARY="$work/summary.txt" QM_ROOT="$root" \
  node --test web/test/*.test.mjs || status=$?

echo
echo "---- web test summary"
[[ -f $work/summary.txt ]] && cat "$work/summary.txt"
grep '^stats:' "$work/desktop-stats.txt" | sed 's/^/stress: desktop viewer --stats: /' || echo "stress: the desktop viewer printed no stats line"
echo "stress: desktop flat out $(( 300 * 1000 / (three_ms - zero_ms > 0 ? three_ms - zero_ms : 1) )) ticks/s (quillmoor-snapshot --ticks 300 took ${three_ms} ms, --ticks 0 ${zero_ms} ms)"
echo "test-web: $(( $(date +%s) - started )) s in all"
exit $status
