#include <cmath>
#include <utility>

#include "world/bounds.h"
#include "world/builders.h"
#include "world/check_scene.h"
#include "world/physics.h"

void buildJoint(SceneJoint& joint, Scene& scene, cpSpace* space, Diagnostics* diag) {
  if (!joint.obj_a) {
    if (!joint.obj_b) return leftOut(diag, &joint, "", "it names no object");
    // The named object keeps its own anchor.
    std::swap(joint.obj_a, joint.obj_b);
    std::swap(joint.anchor_a, joint.anchor_b);
  }
  if (joint.slide_max < joint.slide_min) std::swap(joint.slide_min, joint.slide_max);
  cpBody* a = joint.obj_a->body;
  if (!a) return leftOut(diag, &joint, "", notMovingText(diag, *joint.obj_a, "first object"));
  cpBody* b = joint.obj_b && joint.obj_b->body ? joint.obj_b->body : scene.static_body.get();

  // Non-finite anchors or limits would feed NaN into the solver, and huge ones overflow in it;
  // either way it aborts.
  const cpVect p = joint.anchor_a, q = joint.anchor_b;
  if (!withinCoordinate(p) || !withinCoordinate(q))
    return leftOut(diag, &joint, "", beyondText("an anchor", isFinite(p) && isFinite(q)));
  cpConstraint* built = nullptr;
  if (joint.kind == JointKind::Pin) {
    built = cpPinJointNew(a, b, p, q);
  } else if (joint.kind == JointKind::Slide) {
    if (!withinCoordinate(joint.slide_min) || !withinCoordinate(joint.slide_max))
      return leftOut(diag, &joint, "",
                     beyondText("a slide limit",
                                std::isfinite(joint.slide_min) && std::isfinite(joint.slide_max)));
    built = cpSlideJointNew(a, b, p, q, joint.slide_min, joint.slide_max);
  }
  if (built) cpSpaceAddConstraint(space, built);
}
