#!/usr/bin/env bash
# Records a scene with quillmoor-snapshot --frames and turns the pictures into an animated GIF
# with ImageMagick (Debian package imagemagick; scripts/install-deps.sh --media installs it).
#
#   scripts/animate.sh DIR OUT.gif [FRAMES [EVERY [WIDTH]]]
#
# DIR is the scene's folder (its scene.txt is read), FRAMES pictures are taken one every EVERY
# ticks (default 120 and 2: four seconds at 60 ticks per second), WIDTH is the GIF's width in
# pixels (default 480). Uses build/quillmoor-snapshot, or $QUILLMOOR_SNAPSHOT; runs itself under
# Xvfb when there is no display.
set -euo pipefail
if [[ $# -lt 2 ]]; then
  sed -n '2,10s/^# \{0,1\}//p' "$0" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
snapshot=${QUILLMOOR_SNAPSHOT:-$root/build/quillmoor-snapshot}
dir=$1 out=$(realpath -m "$2") frames=${3:-120} every=${4:-2} width=${5:-480}
command -v convert > /dev/null || { echo "animate.sh: needs ImageMagick's convert" >&2; exit 1; }
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$snapshot" -C "$dir" --frames "$frames" --every "$every" --out "$work/frame.png" > /dev/null
# Each frame stands for EVERY ticks of 1/60 s; a shared palette and frame differences keep the
# file small.
convert -delay "${every}x60" -loop 0 "$work"/frame-*.png -resize "${width}x" \
  -dither None -colors 96 -layers Optimize "$out"
echo "Wrote $out ($(du -k "$out" | cut -f1) KB, $frames frames)"
