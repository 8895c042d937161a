#include "world/physics.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "scene/scene.h"
#include "world/bounds.h"

namespace {

double limitSpeed(double value) {
  if (std::isnan(value)) return 0.0;
  return std::fmax(-kMaxBodySpeed, std::fmin(kMaxBodySpeed, value));
}

void limitBodySpeeds(cpBody* body) {
  const cpVect v = cpBodyGetVelocity(body);
  cpBodySetVelocity(body, cpv(limitSpeed(v.x), limitSpeed(v.y)));
  cpBodySetAngularVelocity(body, limitSpeed(cpBodyGetAngularVelocity(body)));
}

// The library's own velocity integration, limited before the library checks the result
// (it aborts on a non-finite velocity).
void guardedVelocity(cpBody* body, cpVect gravity, cpFloat damping, cpFloat dt) {
  const cpVect force = cpBodyGetForce(body);
  const cpVect v = cpvadd(cpvmult(cpBodyGetVelocity(body), damping),
                          cpvmult(cpvadd(gravity, cpvmult(force, 1.0 / cpBodyGetMass(body))), dt));
  const double w =
      cpBodyGetAngularVelocity(body) * damping + cpBodyGetTorque(body) / cpBodyGetMoment(body) * dt;
  cpBodySetForce(body, cpvzero);
  cpBodySetTorque(body, 0.0);
  cpBodySetVelocity(body, cpv(limitSpeed(v.x), limitSpeed(v.y)));
  cpBodySetAngularVelocity(body, limitSpeed(w));
}

// A body pushed or flung beyond kMaxBodyCoordinate stays at it. Rare, so the library's own
// setter (which also moves the body's shapes) costs nothing worth saving.
void holdInside(cpBody* body) {
  const cpVect p = cpBodyGetPosition(body);
  const cpVect held = cpv(std::fmax(-kMaxBodyCoordinate, std::fmin(kMaxBodyCoordinate, p.x)),
                          std::fmax(-kMaxBodyCoordinate, std::fmin(kMaxBodyCoordinate, p.y)));
  if (held.x != p.x || held.y != p.y) cpBodySetPosition(body, held);
}

// Contact and joint impulses of the last step may have pushed the speeds out of range.
void guardedPosition(cpBody* body, cpFloat dt) {
  limitBodySpeeds(body);
  cpBodyUpdatePosition(body, dt);
  holdInside(body);
}

}  // namespace

void initPhysics() {
  std::fflush(stdout);
  const int saved = dup(STDOUT_FILENO);
  const int devnull = open("/dev/null", O_WRONLY);
  if (saved >= 0 && devnull >= 0) dup2(devnull, STDOUT_FILENO);
  cpSpaceFree(cpSpaceNew());
  std::fflush(stdout);
  if (saved >= 0) {
    dup2(saved, STDOUT_FILENO);
    close(saved);
  }
  if (devnull >= 0) close(devnull);
}

cpSpace* newSpace() { return cpSpaceNew(); }

void freeSpace(cpSpace* space) {
  if (!space) return;
  // Nothing may be removed while the space iterates, so collect first.
  std::vector<cpConstraint*> constraints;
  std::vector<cpShape*> shapes;
  std::vector<cpBody*> bodies;
  cpSpaceEachConstraint(
      space,
      [](cpConstraint* c, void* list) {
        static_cast<std::vector<cpConstraint*>*>(list)->push_back(c);
      },
      &constraints);
  cpSpaceEachShape(
      space,
      [](cpShape* s, void* list) { static_cast<std::vector<cpShape*>*>(list)->push_back(s); },
      &shapes);
  cpSpaceEachBody(
      space, [](cpBody* b, void* list) { static_cast<std::vector<cpBody*>*>(list)->push_back(b); },
      &bodies);
  cpSpaceFree(space);
  for (cpConstraint* c : constraints) cpConstraintFree(c);
  for (cpShape* s : shapes) cpShapeFree(s);
  for (cpBody* b : bodies) cpBodyFree(b);
}

void applySpaceSettings(cpSpace* space, const SceneSettings& settings) {
  if (settings.solver_iterations > 0)
    cpSpaceSetIterations(space, std::min(settings.solver_iterations, kMaxSolverIterations));
  if (isFinite(settings.gravity)) cpSpaceSetGravity(space, settings.gravity);
  if (std::isfinite(settings.damping) && settings.damping >= 0.0f)
    cpSpaceSetDamping(space, settings.damping);
}

void guardBody(cpBody* body) {
  cpBodySetVelocityUpdateFunc(body, guardedVelocity);
  cpBodySetPositionUpdateFunc(body, guardedPosition);
}

void stepSpace(cpSpace* space, int substeps, double dt) {
  for (int i = 0; i < substeps; ++i) cpSpaceStep(space, dt);
}
