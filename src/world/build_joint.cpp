#include <cmath>
#include <utility>

#include "world/bounds.h"
#include "world/builders.h"
#include "world/physics.h"

namespace {

constexpr double kRadians = 3.14159265358979323846 / 180.0;

// Stiffness, damping and forces above this only overflow into the speed guard.
constexpr double kMaxStrength = 1e15;
// Gear ratios beyond these turn the solver's mass terms into overflow.
constexpr double kMinRatio = 1e-6, kMaxRatio = 1e6;

void leftOut(World& world, const SceneJoint& joint, const std::string& why,
             const char* keyword = "") {
  note(world, joint.source, keyword, "joint is left out: " + why);
}

bool dynamic(cpBody* body) { return body && cpBodyGetType(body) == CP_BODY_TYPE_DYNAMIC; }

// The end's body: a missing, static or unbuilt object is the world.
cpBody* endBody(const World& world, const SceneObject* object) {
  cpBody* body = object ? world.of(*object).body : nullptr;
  return body ? body : world.static_body;
}

// Why a value of the joint's kind cannot be taken, "" when all can; sets the keyword to blame.
std::string badValue(const SceneJoint& j, const char*& keyword) {
  auto check = [&](bool ok, const char* word, const std::string& why) {
    if (!ok && keyword[0] == '\0') keyword = word;
    return ok ? std::string() : std::string(word) + " " + why;
  };
  auto coordinate = [&](double v, const char* word) {
    return check(withinCoordinate(v), word,
                 std::isfinite(v) ? "is out of bounds" : "is not finite");
  };
  auto point = [&](cpVect p, const char* word) {
    return check(withinCoordinate(p), word, isFinite(p) ? "is out of bounds" : "is not finite");
  };
  auto strength = [&](double v, const char* word) {
    return check(v >= 0.0 && v <= kMaxStrength, word,
                 "must be a number from 0 to " + formatNumber(kMaxStrength));
  };
  std::string why;
  auto first = [&](std::string found) {
    if (why.empty()) why = std::move(found);
  };
  first(point(j.anchor_a, "joint_anchor_a"));
  first(point(j.anchor_b, "joint_anchor_b"));
  first(check(j.max_force >= 0.0f, "joint_max_force", "must be 0 or more"));
  first(check(j.break_force >= 0.0f, "joint_break_force", "must be 0 or more"));
  switch (j.kind) {
    case JointKind::Pin:
    case JointKind::Slide: break;  // their limits are checked where they are built
    case JointKind::Pivot: first(point(j.pivot, "joint_pivot")); break;
    case JointKind::Groove:
      first(point(j.groove_a, "joint_groove_a"));
      first(point(j.groove_b, "joint_groove_b"));
      // The library divides by the groove's length.
      first(check(cpvdist(j.groove_a, j.groove_b) > 0.0, "joint_groove_b",
                  "is joint_groove_a: a groove needs a length (a pivot joint holds one point)"));
      break;
    case JointKind::Spring:
    case JointKind::RotarySpring:
      if (j.kind == JointKind::Spring) first(coordinate(j.rest_length, "joint_rest_length"));
      first(coordinate(j.rest_angle, "joint_rest_angle"));
      first(strength(j.stiffness, "joint_stiffness"));
      first(strength(j.damping, "joint_damping"));
      break;
    case JointKind::RotaryLimit:
      first(coordinate(j.angle_min, "joint_angle_min"));
      first(coordinate(j.angle_max, "joint_angle_max"));
      first(check(j.angle_min <= j.angle_max, "joint_angle_min",
                  "is above joint_angle_max: the limits are the wrong way round"));
      break;
    case JointKind::Ratchet:
      first(coordinate(j.phase, "joint_phase"));
      first(check(j.ratchet != 0.0f && withinCoordinate(j.ratchet), "joint_ratchet",
                  "must be a step other than 0"));
      break;
    case JointKind::Gear:
      first(coordinate(j.phase, "joint_phase"));
      first(check(std::fabs(j.ratio) >= kMinRatio && std::fabs(j.ratio) <= kMaxRatio, "joint_ratio",
                  "must be from 1e-06 to 1e+06 either way round"));
      break;
    case JointKind::Motor: first(coordinate(j.rate, "joint_rate")); break;
  }
  return why;
}

// Pin and slide joints as they always were: a joint naming only its second object is tied by
// that object, with its own anchor, to the world.
cpConstraint* pinOrSlide(World& world, const SceneJoint& joint, BuiltJoint& built) {
  if (!built.first) {
    std::swap(built.first, built.second);
    std::swap(built.anchor_first, built.anchor_second);
  }
  if (!built.first) return leftOut(world, joint, "it names no object"), nullptr;
  cpBody* a = world.of(*built.first).body;
  if (!a) return leftOut(world, joint, notMovingText(*built.first, "first object")), nullptr;
  cpBody* b = endBody(world, built.second);
  if (!dynamic(a) && !dynamic(b))
    return leftOut(world, joint, "neither end is a moving object, and the world cannot move"),
           nullptr;
  // Non-finite anchors or limits would feed NaN into the solver, and huge ones overflow in it;
  // either way it aborts.
  const cpVect p = built.anchor_first, q = built.anchor_second;
  if (!withinCoordinate(p) || !withinCoordinate(q))
    return leftOut(world, joint, beyondText("an anchor", isFinite(p) && isFinite(q))), nullptr;
  float low = joint.slide_min, high = joint.slide_max;
  if (high < low) std::swap(low, high);
  if (joint.kind == JointKind::Slide && (!withinCoordinate(low) || !withinCoordinate(high)))
    return leftOut(world, joint,
                   beyondText("a slide limit", std::isfinite(low) && std::isfinite(high))),
           nullptr;
  if (joint.kind == JointKind::Slide) return cpSlideJointNew(a, b, p, q, low, high);
  // The library warns on standard error about a pin of length 0; the checker says it in the
  // scene's terms, at the joint's line.
  if (cpvdist(cpBodyLocalToWorld(a, p), cpBodyLocalToWorld(b, q)) > 0.0)
    return cpPinJointNew(a, b, p, q);
  SilencedStdout quiet(stderr);
  return cpPinJointNew(a, b, p, q);
}

cpConstraint* otherKind(World& world, const SceneJoint& j) {
  cpBody* a = endBody(world, j.obj_a);
  cpBody* b = endBody(world, j.obj_b);
  // Between two bodies that nothing moves the library's solver divides by zero and aborts.
  if (!dynamic(a) && !dynamic(b)) return leftOut(world, j, endsText(j.obj_a, j.obj_b)), nullptr;
  if (a == b) return leftOut(world, j, "both ends are the same object"), nullptr;
  if (j.kind == JointKind::Gear && (a == world.static_body || b == world.static_body))
    return leftOut(world, j,
                   "a gear needs an object at each end: against the world it would only hold "
                   "the other one still"),
           nullptr;
  const char* keyword = "";
  if (const std::string why = badValue(j, keyword); !why.empty())
    return leftOut(world, j, why, keyword), nullptr;
  switch (j.kind) {
    case JointKind::Pivot:
      return j.source.has("joint_pivot") ? cpPivotJointNew(a, b, j.pivot)
                                         : cpPivotJointNew2(a, b, j.anchor_a, j.anchor_b);
    case JointKind::Groove: return cpGrooveJointNew(a, b, j.groove_a, j.groove_b, j.anchor_b);
    case JointKind::Spring: {
      const double rest =
          j.source.has("joint_rest_length")
              ? j.rest_length
              : cpvdist(cpBodyLocalToWorld(a, j.anchor_a), cpBodyLocalToWorld(b, j.anchor_b));
      return cpDampedSpringNew(a, b, j.anchor_a, j.anchor_b, rest, j.stiffness, j.damping);
    }
    case JointKind::RotarySpring: {
      // The scene's angles are b's less a's, as for the rotary limit; the library's spring
      // turns toward a's less b's.
      const double rest = j.source.has("joint_rest_angle") ? -j.rest_angle * kRadians
                                                           : cpBodyGetAngle(a) - cpBodyGetAngle(b);
      return cpDampedRotarySpringNew(a, b, rest, j.stiffness, j.damping);
    }
    case JointKind::RotaryLimit:
      return cpRotaryLimitJointNew(a, b, j.angle_min * kRadians, j.angle_max * kRadians);
    case JointKind::Ratchet:
      return cpRatchetJointNew(a, b, j.phase * kRadians, j.ratchet * kRadians);
    case JointKind::Gear: return cpGearJointNew(a, b, j.phase * kRadians, j.ratio);
    // The library's motor holds a's spin less b's at its rate.
    case JointKind::Motor: return cpSimpleMotorNew(a, b, -j.rate * kRadians);
    default: return nullptr;
  }
}

}  // namespace

std::string endsText(const SceneObject* a, const SceneObject* b) {
  auto end = [](const SceneObject* object) -> std::string {
    if (!object) return "no object";
    if (object->kinematic) return "'" + object->name + "' is kinematic";
    return "'" + object->name + "'" + (isMoving(*object) ? " was never built" : " is static");
  };
  return "neither end is a moving object (end a: " + end(a) + ", end b: " + end(b) + ")";
}

void buildJoint(World& world, const SceneJoint& joint, BuiltJoint& built) {
  built.first = joint.obj_a, built.second = joint.obj_b;
  built.anchor_first = joint.anchor_a, built.anchor_second = joint.anchor_b;
  if (!roomForItem(world.counts, world.limits)) return;
  const bool old_kind = joint.kind == JointKind::Pin || joint.kind == JointKind::Slide;
  cpConstraint* c = old_kind ? pinOrSlide(world, joint, built) : otherKind(world, joint);
  if (!c) return;
  if (old_kind) {
    const char* keyword = "";
    if (const std::string why = badValue(joint, keyword); !why.empty()) {
      cpConstraintFree(c);
      return leftOut(world, joint, why, keyword);
    }
  }
  cpConstraintSetUserData(c, const_cast<SceneJoint*>(&joint));
  if (std::isfinite(joint.max_force)) cpConstraintSetMaxForce(c, joint.max_force);
  if (!joint.collide) cpConstraintSetCollideBodies(c, cpFalse);
  cpSpaceAddConstraint(world.space, c);
  built.constraint = c;
  if (std::isfinite(joint.break_force)) world.breakable.push_back(&built);
  ++world.counts.constraints;
}
