#include <cmath>

#include "world/bounds.h"
#include "world/builders.h"
#include "world/physics.h"

namespace {

const char kNoSegmentCount[] = "its length over rope_approx_seg_len gives no whole segment count";

void leftOut(World& world, const SceneRope& rope, const char* keyword, const std::string& why) {
  note(world, rope.source, keyword, "rope is left out: " + why);
}

// An anchor on a body turns with it; without a body the anchor is a world point.
cpVect endPoint(cpBody* body, cpVect anchor) {
  return body ? cpBodyLocalToWorld(body, anchor) : anchor;
}

}  // namespace

void buildRope(World& world, const SceneRope& rope, BuiltRope& built) {
  cpBody* body_a = rope.obj_a ? world.of(*rope.obj_a).body : nullptr;
  cpBody* body_b = rope.obj_b ? world.of(*rope.obj_b).body : nullptr;
  if (!body_a && !body_b) return leftOut(world, rope, "", ropeEndsText(rope));
  // A segment mass the library cannot integrate (0, negative, out of bounds, NaN) leaves the rope
  // out, as do anchors out of bounds.
  if (!(rope.seg_mass > 0.0f) || !std::isfinite(rope.seg_mass))
    return leftOut(world, rope, "rope_seg_mass", "its segment mass is not a positive number");
  if (!withinMass(rope.seg_mass))
    return leftOut(world, rope, "rope_seg_mass", "its segment mass is out of bounds");
  if (!withinCoordinate(rope.anchor_a) || !withinCoordinate(rope.anchor_b))
    return leftOut(world, rope, "",
                   beyondText("an anchor", isFinite(rope.anchor_a) && isFinite(rope.anchor_b)));

  const cpVect start = endPoint(body_a, rope.anchor_a);
  const cpVect end = endPoint(body_b, rope.anchor_b);
  const cpVect d = cpvsub(end, start);
  const float length = std::sqrt(static_cast<float>(d.x * d.x + d.y * d.y));
  if (!std::isfinite(length) || length < 0.01f)
    return leftOut(world, rope, "",
                   "its ends are " + formatNumber(length) + " apart (0.01 at least)");
  const cpVect u = cpvmult(d, 1.0 / length);

  // A negative, not-a-number or huge quotient gives no count of one segment or more.
  const float quotient = std::trunc(length / rope.approx_seg_len);
  if (!(quotient >= 0.0f && quotient < 2147483648.0f))
    return leftOut(world, rope, "rope_approx_seg_len", kNoSegmentCount);
  int count = static_cast<int>(quotient) + 1;
  if (count > kMaxRopeSegments) {
    count = kMaxRopeSegments;
    note(world, rope.source, "rope_approx_seg_len", "the rope is capped at 4096 segments");
  }
  const float seg_len = length / count;
  built.seg_len = seg_len;

  // The point `segments` segment lengths along the rope from its start.
  auto along = [&](double segments) { return cpvadd(start, cpvmult(u, segments * seg_len)); };
  const double angle = std::atan2(u.y, u.x);
  const double moment = cpMomentForCircle(rope.seg_mass, 0.0, 1.0, cpvzero);
  auto& segments = built.segments;
  for (int i = 0; i < count; ++i) {
    cpBody* segment = cpBodyNew(rope.seg_mass, moment);
    guardBody(segment);
    cpBodySetPosition(segment, along(i + 0.5));
    cpBodySetAngle(segment, angle);
    cpSpaceAddBody(world.space, segment);
    segments.push_back(segment);
  }
  cpBody* fixed = world.static_body;
  for (int i = 0; i < count; ++i) {
    cpBody* previous = i == 0 ? (body_a ? body_a : fixed) : segments[i - 1];
    cpBody* next = i == count - 1 ? (body_b ? body_b : fixed) : segments[i + 1];
    cpSpaceAddConstraint(world.space, cpPivotJointNew(segments[i], previous, along(i)));
    cpSpaceAddConstraint(world.space, cpPivotJointNew(segments[i], next, along(i + 1.0)));
  }
  world.counts.moving_bodies += count;
  world.counts.constraints += 2 * count;
}
