#include "world/load_scene.h"

#include "scene/scene_loader.h"
#include "world/builders.h"
#include "world/mesh.h"

void buildScene(Scene& scene, cpSpace* space) {
  scene.static_body = {cpBodyNewStatic(), cpBodyFree};
  for (auto& [name, object] : scene.objects) buildObject(scene, *object, space);
  for (auto& rope : scene.ropes) buildRope(scene, *rope, space);
  for (auto& joint : scene.joints) buildJoint(*joint, scene, space);
  scene.joints.clear();  // the space holds what was built
}

std::unique_ptr<Scene> loadScene(const char* path, cpSpace* space) {
  std::unique_ptr<Scene> scene = readScene(path, getMesh);
  if (scene) buildScene(*scene, space);
  return scene;
}
