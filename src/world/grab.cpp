#include "world/grab.h"

#include <cmath>

#include "world/bounds.h"
#include "world/physics.h"

namespace {

cpShape* dynamicShapeAt(cpSpace* space, cpVect point) {
  cpShape* found = nullptr;
  // The smallest positive distance counts a point on an edge as inside, and nothing outside.
  cpSpacePointQuery(
      space, point, std::nextafter(0.0, 1.0), CP_SHAPE_FILTER_ALL,
      [](cpShape* shape, cpVect, cpFloat, cpVect, void* data) {
        auto& first = *static_cast<cpShape**>(data);
        if (!first && cpBodyGetType(cpShapeGetBody(shape)) == CP_BODY_TYPE_DYNAMIC) first = shape;
      },
      &found);
  return found;
}

}  // namespace

bool holding(const World& world) { return world.grab.joint != nullptr; }

bool grabAt(World& world, cpVect point) {
  if (holding(world) || !isFinite(point) || !withinCoordinate(point)) return false;
  cpShape* shape = dynamicShapeAt(world.space, point);
  if (!shape) return false;
  cpBody* body = cpShapeGetBody(shape);
  if (!world.grab.handle) world.grab.handle = cpBodyNewKinematic();  // never in the space
  cpBodySetPosition(world.grab.handle, point);
  cpBodySetVelocity(world.grab.handle, cpvzero);
  cpConstraint* joint =
      cpPivotJointNew2(world.grab.handle, body, cpvzero, cpBodyWorldToLocal(body, point));
  cpConstraintSetMaxForce(joint, kGrabAcceleration * cpBodyGetMass(body));
  // Most of the gap closed within a sixtieth of a second, but not at once: firm, not violent.
  cpConstraintSetErrorBias(joint, std::pow(1.0 - 0.15, 60.0));
  cpSpaceAddConstraint(world.space, joint);
  world.grab.joint = joint;
  world.grab.body = body;
  return true;
}

void moveGrab(World& world, cpVect point, double seconds) {
  if (!holding(world) || !isFinite(point) || !withinCoordinate(point) || !(seconds > 0.0)) return;
  cpBody* handle = world.grab.handle;
  cpBodySetVelocity(handle, cpvmult(cpvsub(point, cpBodyGetPosition(handle)), 1.0 / seconds));
  cpBodySetPosition(handle, point);
}

void releaseGrab(World& world) {
  if (!holding(world)) return;
  cpSpaceRemoveConstraint(world.space, world.grab.joint);
  cpConstraintFree(world.grab.joint);
  cpBodySetVelocity(world.grab.body, cpBodyGetVelocity(world.grab.handle));
  world.grab = {world.grab.handle, nullptr, nullptr};
}
