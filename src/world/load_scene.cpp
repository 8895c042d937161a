#include "world/load_scene.h"

#include <cstdio>

#include "scene/scene_loader.h"
#include "world/check_scene.h"
#include "world/mesh.h"

std::unique_ptr<World> loadWorld(const char* path, Reporter& report) {
  std::shared_ptr<const Scene> scene = readScene(path, getMesh, report);
  if (!scene) return std::make_unique<World>();
  std::unique_ptr<World> world = buildWorld(scene);
  if (report.collect) checkWorld(*world, report);
  for (const std::string& line : limitMessages(world->limits)) {
    if (report.collect)
      warnAt(report, {path, 0}, "limit met: " + line);
    else
      std::fprintf(stderr, "quillmoor: %s\n", line.c_str());
  }
  return world;
}
