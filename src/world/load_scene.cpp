#include "world/load_scene.h"

#include <cstdio>

#include "scene/scene_loader.h"
#include "world/builders.h"
#include "world/check_scene.h"
#include "world/mesh.h"

LimitsMet buildScene(Scene& scene, cpSpace* space, Diagnostics* diag) {
  scene.static_body = {cpBodyNewStatic(), cpBodyFree};
  BuildBudget budget;
  budget.met.meshes = scene.meshes_cut;
  budget.met.drawn = limitDrawnMeshes(scene);
  for (auto& [name, object] : scene.objects) {
    buildObject(scene, *object, space, budget, diag);
    if (diag) tagShapes(scene, *object);
  }
  for (auto& rope : scene.ropes) {
    if (roomForItem(space, budget)) buildRope(scene, *rope, space, diag);
    checkRopeEnds(*rope, diag);
  }
  for (auto& joint : scene.joints) {
    checkJointEnds(*joint, diag);
    if (roomForItem(space, budget)) buildJoint(*joint, scene, space, diag);
  }
  scene.joints.clear();  // the space holds what was built
  budget.met.tick_work = limitSettings(scene.settings, stepLoad(space, budget.moving_overlaps));
  checkWorld(scene, space, diag);
  // Without a diagnostics record, on standard error: standard output carries only the
  // reader's own messages.
  for (const std::string& line : limitMessages(budget.met)) {
    if (diag)
      warnAt(diag, {diag->opened.empty() ? "" : diag->opened.front(), 0}, "limit met: " + line);
    else
      std::fprintf(stderr, "quillmoor: %s\n", line.c_str());
  }
  return budget.met;
}

std::unique_ptr<Scene> loadScene(const char* path, cpSpace* space, Diagnostics* diag) {
  std::unique_ptr<Scene> scene = readScene(path, getMesh, diag);
  if (scene && diag) checkSettings(*scene, diag);
  if (scene) buildScene(*scene, space, diag);
  return scene;
}
