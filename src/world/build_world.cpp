#include "world/builders.h"

LimitsMet buildWithinLimits(Scene& scene, cpSpace* space) {
  BuildBudget budget;
  budget.met.meshes = scene.meshes_cut;
  budget.met.drawn = limitDrawnMeshes(scene);
  for (auto& [name, object] : scene.objects) buildObject(scene, *object, space, budget);
  for (auto& rope : scene.ropes)
    if (roomForItem(space, budget)) buildRope(scene, *rope, space);
  for (auto& joint : scene.joints)
    if (roomForItem(space, budget)) buildJoint(*joint, scene, space);
  budget.met.tick_work = limitSettings(scene.settings, stepLoad(space, budget.moving_overlaps));
  return budget.met;
}
