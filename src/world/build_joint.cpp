#include <cmath>
#include <utility>

#include "world/builders.h"
#include "world/physics.h"

void buildJoint(SceneJoint& joint, Scene& scene, cpSpace* space) {
  if (!joint.obj_a) {
    if (!joint.obj_b) return;
    // The named object keeps its own anchor.
    std::swap(joint.obj_a, joint.obj_b);
    std::swap(joint.anchor_a, joint.anchor_b);
  }
  if (joint.slide_max < joint.slide_min) std::swap(joint.slide_min, joint.slide_max);
  cpBody* a = joint.obj_a->body;
  if (!a) return;
  cpBody* b = joint.obj_b && joint.obj_b->body ? joint.obj_b->body : scene.static_body.get();

  // Non-finite anchors or limits would feed NaN into the solver, which aborts on it.
  const cpVect p = joint.anchor_a, q = joint.anchor_b;
  if (!isFinite(p) || !isFinite(q)) return;
  cpConstraint* built = nullptr;
  if (joint.kind == JointKind::Pin) {
    built = cpPinJointNew(a, b, p, q);
  } else if (joint.kind == JointKind::Slide) {
    if (!std::isfinite(joint.slide_min) || !std::isfinite(joint.slide_max)) return;
    built = cpSlideJointNew(a, b, p, q, joint.slide_min, joint.slide_max);
  }
  if (built) cpSpaceAddConstraint(space, built);
}
