#!/usr/bin/env bash
# Makes docs/gallery.md and one picture per example (docs/gallery/NAME.png) with the snapshot
# tool. Each scene names its own moment in a "# Gallery picture ...: quillmoor-snapshot ARGS"
# line. Needs a build (build/, or the folder given as $1) and runs itself under Xvfb when there
# is no display. ImageMagick, when present, halves the pictures to keep them small.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
snapshot="$build/quillmoor-snapshot"
[[ -x "$snapshot" ]] || { echo "gallery.sh: no $snapshot; build first" >&2; exit 1; }
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build"
fi

mkdir -p docs/gallery
{
  echo "# Example gallery"
  echo
  echo "Each folder under \`examples/\` is one scene with its own meshes and materials, made to"
  echo "show one thing well; the comments in each \`scene.txt\` explain how. Open one from the"
  echo "repository's folder after building (\`-C\` makes the viewer read everything from that"
  echo "folder), or from \`/usr/share/quillmoor/examples/\` once installed. Ropes need several"
  echo "substeps per frame (\`scene_step_iterations\` 4 or more); every example that has ropes"
  echo "says so."
  echo
  echo "These pictures are made by \`scripts/gallery.sh\` with \`quillmoor-snapshot\`. Each"
  echo "example also runs live in the browser: build and serve the page with"
  echo "\`scripts/build-web.sh && scripts/serve-web.sh\`, then follow its \"Live in the browser\" link."
} > docs/gallery.md

for scene in examples/*/scene.txt; do
  dir=$(dirname "$scene")
  name=$(basename "$dir")
  title=$(head -1 "$scene" | sed 's/^# *//')
  read -r -a actions <<< "$(sed -n 's/^# Gallery picture.*: quillmoor-snapshot //p' "$scene")"
  picture="$PWD/docs/gallery/$name.png"
  echo "$name: ${actions[*]}"
  "$snapshot" -C "$dir" "${actions[@]}" --out "$picture" > /dev/null
  if command -v convert > /dev/null; then
    convert "$picture" -resize 50% -strip "$picture"
  fi
  {
    echo
    echo "## $name"
    echo
    echo "$title [Live in the browser](http://localhost:8080/#$name)."
    echo
    echo "![$name]($(basename "$picture" | sed 's|^|gallery/|'))"
    echo
    echo '```sh'
    echo "build/quillmoor -C $dir"
    echo '```'
  } >> docs/gallery.md
done
echo "Wrote docs/gallery.md"
