#include "world/builders.h"
#include "world/mesh.h"

namespace {

// Leaves out the moving objects, in build order, whose starting overlaps would pass
// kMaxStartOverlaps. Returns the overlaps kept.
size_t limitOverlaps(Scene& scene, cpSpace* space, LimitsMet& met) {
  size_t kept = 0;
  for (auto& [name, object] : scene.objects) {
    if (!object->body) continue;
    const size_t room = kMaxStartOverlaps - kept;
    const size_t count = countOverlaps(space, object->body, room + 1);
    if (count > room) {
      removeBody(space, object->body);
      object->body = nullptr;
      met.overlaps = true;
    } else {
      kept += count;
    }
  }
  return kept;
}

}  // namespace

LimitsMet buildWithinLimits(Scene& scene, cpSpace* space) {
  LimitsMet met;
  auto room = [&] {
    if (spaceItems(space) < kMaxSceneItems) return true;
    met.items = true;
    return false;
  };
  for (auto& [name, object] : scene.objects) {
    if (!room()) break;
    buildObject(scene, *object, space);
    if (object->body && object->col_mesh &&
        object->col_mesh->triangles.size() > kMaxMovingTriangles)
      met.triangles = true;
  }
  const size_t overlaps = limitOverlaps(scene, space, met);
  for (auto& rope : scene.ropes) {
    if (!room()) break;
    buildRope(scene, *rope, space);
  }
  for (auto& joint : scene.joints) {
    if (!room()) break;
    buildJoint(*joint, scene, space);
  }
  const double load = static_cast<double>(spaceConstraints(space) + movingShapes(space) + overlaps);
  met.tick_work = limitSettings(scene.settings, load);
  return met;
}
