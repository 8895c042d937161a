#!/usr/bin/env bash
# Builds the page into build-web/: installs what is missing (Emscripten, and Chipmunk's source
# from Debian's archive, checked against its .dsc), generates the font tables from the installed
# freeglut, compiles Chipmunk as Debian does and the viewer's core with the web front end, and
# copies the page beside them. Serve it with scripts/serve-web.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --web
out=$PWD/build-web
mkdir -p "$out"
jobs=$(nproc)

# Emscripten's tools need Debian's node modules, which a Node.js from elsewhere does not search.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# Emscripten keeps its library cache beside itself; elsewhere when that is not writable.
[[ -w /usr/share/emscripten/cache ]] || export EM_CACHE="$out/emcache"

# The Chipmunk source of the very version the desktop links, from the archive's own signed
# index; a private apt state keeps the machine's sources list untouched.
version=$(dpkg-query -W -f='${source:Version}' libchipmunk-dev)
chipmunk=$out/chipmunk-$version
if [[ ! -f $chipmunk/.unpacked ]]; then
  rm -rf "$chipmunk" && mkdir -p "$chipmunk/apt/lists/partial" "$chipmunk/apt/cache/archives/partial"
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian $codename main" \
    > "$chipmunk/apt/sources.list"
  apt_options=(-o Dir::Etc::SourceList="$chipmunk/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
               -o Dir::State::Lists="$chipmunk/apt/lists" -o Dir::Cache="$chipmunk/apt/cache"
               -o Debug::NoDropPrivs=true -o APT::Sandbox::User=root)
  apt-get "${apt_options[@]}" -qq update
  (cd "$chipmunk" && apt-get "${apt_options[@]}" -qq source --download-only "chipmunk=$version")
  dsc=$(ls "$chipmunk"/chipmunk_*.dsc)
  # Every file the .dsc names, against the SHA-256 it gives.
  awk '/^Checksums-Sha256:/ {on=1; next} /^[^ ]/ {on=0} on && NF==3 {print $1 "  " $3}' "$dsc" \
    > "$chipmunk/SHA256SUMS"
  [[ -s $chipmunk/SHA256SUMS ]] || { echo "build-web: no checksums in $dsc" >&2; exit 1; }
  (cd "$chipmunk" && sha256sum --check --strict "$chipmunk/SHA256SUMS")
  dpkg-source --require-strong-checksums -x "$dsc" "$chipmunk/src"  # applies Debian's patches
  touch "$chipmunk/.unpacked"
fi

# The stroke and bitmap fonts, read off freeglut by drawing them on a headless display.
[[ -f build/CMakeCache.txt ]] || cmake -S . -B build
cmake --build build -j"$jobs" --target quillmoor-fontgen
fonts=$out/generated/fonts.cpp
if [[ ! -f $fonts || build/quillmoor-fontgen -nt $fonts ]]; then
  mkdir -p "$out/generated"
  xvfb-run -a -s "-screen 0 1280x1024x24" build/quillmoor-fontgen "$fonts.new"
  mv "$fonts.new" "$fonts"
fi

# The bundled scenes, as the page's file system sees them.
rm -rf "$out/scenes" && mkdir -p "$out/scenes/examples"
cp -r demo "$out/scenes/demo"
cp -r examples/* "$out/scenes/examples/"

emcmake cmake -S web -B "$out/cmake" -DCMAKE_BUILD_TYPE=None \
  -DCHIPMUNK_SOURCE_DIR="$chipmunk/src" -DFONTS_SOURCE="$fonts" -DSCENES_DIR="$out/scenes" >/dev/null
cmake --build "$out/cmake" -j"$jobs"
cp "$out"/cmake/quillmoor.{js,wasm,data} "$out/"
cp web/page/* "$out/"
echo "build-web: the page is in $out (serve it with scripts/serve-web.sh)"
