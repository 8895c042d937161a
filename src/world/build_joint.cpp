#include <cmath>
#include <utility>

#include "world/bounds.h"
#include "world/builders.h"
#include "world/physics.h"

namespace {

void leftOut(World& world, const SceneJoint& joint, const std::string& why) {
  note(world, joint.source, "", "joint is left out: " + why);
}

}  // namespace

void buildJoint(World& world, const SceneJoint& joint, BuiltJoint& built) {
  built = {joint.obj_a, joint.obj_b, joint.anchor_a, joint.anchor_b};
  if (!built.first) {  // the named object keeps its own anchor
    std::swap(built.first, built.second);
    std::swap(built.anchor_first, built.anchor_second);
  }
  if (!roomForItem(world.counts, world.limits)) return;
  if (!built.first) return leftOut(world, joint, "it names no object");
  cpBody* a = world.of(*built.first).body;
  if (!a) return leftOut(world, joint, notMovingText(*built.first, "first object"));
  cpBody* b = built.second && world.of(*built.second).body ? world.of(*built.second).body
                                                           : world.static_body;

  // Non-finite anchors or limits would feed NaN into the solver, and huge ones overflow in it;
  // either way it aborts.
  const cpVect p = built.anchor_first, q = built.anchor_second;
  if (!withinCoordinate(p) || !withinCoordinate(q))
    return leftOut(world, joint, beyondText("an anchor", isFinite(p) && isFinite(q)));
  float low = joint.slide_min, high = joint.slide_max;
  if (high < low) std::swap(low, high);
  if (joint.kind == JointKind::Slide && (!withinCoordinate(low) || !withinCoordinate(high)))
    return leftOut(world, joint,
                   beyondText("a slide limit", std::isfinite(low) && std::isfinite(high)));
  cpSpaceAddConstraint(world.space, joint.kind == JointKind::Pin
                                        ? cpPinJointNew(a, b, p, q)
                                        : cpSlideJointNew(a, b, p, q, low, high));
  ++world.counts.constraints;
}
