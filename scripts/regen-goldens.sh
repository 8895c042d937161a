#!/usr/bin/env bash
# Writes every golden anew from what the current build gives: the checker goldens under
# tests/check (expected, and output where there is one) and the world table's "= " lines in
# tests/data/world/builds.txt. Read the diff before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DBUILD_TESTING=ON >/dev/null
cmake --build build -j"$(nproc)" --target quillmoor_tests quillmoor_world_tests quillmoor-check
(cd build && QUILLMOOR_REGEN=1 ctest --output-on-failure \
  -R 'EachSceneGivesExactlyItsDiagnosticsAndTheSameMessages|ScenesBuildIntoBodiesShapesAndConstraints')
git status --short tests/check tests/data/world
