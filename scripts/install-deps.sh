#!/usr/bin/env bash
# Installs what Quillmoor needs on Debian or Ubuntu, skipping what is already there.
# With --test, also what the test suite needs (GoogleTest, a headless X server, clang with
# libFuzzer for the fuzz targets, and python3 to regenerate the examples); with
# --media, what scripts/gallery.sh and scripts/animate.sh need (a headless X server, ImageMagick);
# with --web, what scripts/build-web.sh needs (Emscripten, dpkg-source, a headless X server);
# with --browser, what scripts/test-web.sh adds (Chromium, and Node.js where there is none).
set -euo pipefail

packages=(build-essential cmake libchipmunk-dev freeglut3-dev libglu1-mesa-dev libgl-dev
          libgl1-mesa-dri libpng-dev)
if [[ "${1:-}" == "--test" ]]; then
  packages+=(libgtest-dev libbenchmark-dev xvfb xauth xdotool imagemagick x11-apps
            clang clang-14 libclang-rt-14-dev python3)
elif [[ "${1:-}" == "--media" ]]; then
  packages+=(xvfb xauth imagemagick)
elif [[ "${1:-}" == "--web" ]]; then
  packages+=(emscripten dpkg-dev xz-utils xvfb xauth)
elif [[ "${1:-}" == "--browser" ]]; then
  packages+=(chromium xvfb xauth python3)
  command -v node >/dev/null && command -v npm >/dev/null || packages+=(nodejs npm)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
