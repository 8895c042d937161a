#include "world/load_scene.h"

#include <cstdio>

#include "scene/scene_loader.h"
#include "world/builders.h"
#include "world/mesh.h"

LimitsMet buildScene(Scene& scene, cpSpace* space) {
  scene.static_body = {cpBodyNewStatic(), cpBodyFree};
  const LimitsMet met = buildWithinLimits(scene, space);
  scene.joints.clear();  // the space holds what was built
  // Standard error, so that standard output stays the reader's messages alone.
  for (const std::string& line : limitMessages(met))
    std::fprintf(stderr, "quillmoor: %s\n", line.c_str());
  return met;
}

std::unique_ptr<Scene> loadScene(const char* path, cpSpace* space) {
  std::unique_ptr<Scene> scene = readScene(path, getMesh);
  if (scene) buildScene(*scene, space);
  return scene;
}
