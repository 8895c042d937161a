#include "world/load_scene.h"

#include "scene/scene_loader.h"
#include "world/builders.h"
#include "world/check_scene.h"
#include "world/mesh.h"

void buildScene(Scene& scene, cpSpace* space, Diagnostics* diag) {
  scene.static_body = {cpBodyNewStatic(), cpBodyFree};
  for (auto& [name, object] : scene.objects) {
    buildObject(scene, *object, space, diag);
    if (diag) tagShapes(scene, *object);
  }
  for (auto& rope : scene.ropes) {
    buildRope(scene, *rope, space, diag);
    checkRopeEnds(*rope, diag);
  }
  for (auto& joint : scene.joints) {
    checkJointEnds(*joint, diag);
    buildJoint(*joint, scene, space, diag);
  }
  scene.joints.clear();  // the space holds what was built
  checkWorld(scene, space, diag);
}

std::unique_ptr<Scene> loadScene(const char* path, cpSpace* space, Diagnostics* diag) {
  std::unique_ptr<Scene> scene = readScene(path, getMesh, diag);
  if (scene && diag) checkSettings(*scene, diag);
  if (scene) buildScene(*scene, space, diag);
  return scene;
}
