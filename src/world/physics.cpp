#include "world/physics.h"

#include <chipmunk/chipmunk_structs.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "world/bounds.h"

namespace {

// Plain comparisons rather than fmin/fmax, which are calls into libm here; same results.
double limitSpeed(double value) {
  if (value != value) return 0.0;  // NaN
  return value < -kMaxBodySpeed ? -kMaxBodySpeed : value > kMaxBodySpeed ? kMaxBodySpeed : value;
}

// Through the body's fields: the library's setters would wake the body (walking its contacts)
// and run their checks at every step of every body.
void limitBodySpeeds(cpBody* body) {
  body->v = cpv(limitSpeed(body->v.x), limitSpeed(body->v.y));
  body->w = limitSpeed(body->w);
}

// The library's own velocity integration, limited before anything checks the result (the
// library aborts on a non-finite velocity).
void guardedVelocity(cpBody* body, cpVect gravity, cpFloat damping, cpFloat dt) {
  body->v = cpvadd(cpvmult(body->v, damping),
                   cpvmult(cpvadd(gravity, cpvmult(body->f, body->m_inv)), dt));
  body->w = body->w * damping + body->t * body->i_inv * dt;
  body->f = cpvzero;
  body->t = 0.0;
  limitBodySpeeds(body);
}

// A body pushed or flung beyond kMaxBodyCoordinate stays at it; a position that is not a number
// (never seen) keeps the last one.
double holdCoordinate(double value, double previous) {
  if (value != value) return previous;
  return value < -kMaxBodyCoordinate  ? -kMaxBodyCoordinate
         : value > kMaxBodyCoordinate ? kMaxBodyCoordinate
                                      : value;
}

// The library's position integration, after contact and joint impulses of the last step may
// have pushed the speeds out of range again. The transform is what shapes are placed by.
void guardedPosition(cpBody* body, cpFloat dt) {
  limitBodySpeeds(body);
  const cpVect moved = cpvadd(body->p, cpvmult(cpvadd(body->v, body->v_bias), dt));
  const cpVect p = body->p =
      cpv(holdCoordinate(moved.x, body->p.x), holdCoordinate(moved.y, body->p.y));
  const cpFloat turned = body->a + (body->w + body->w_bias) * dt;
  const cpFloat a = body->a = std::isfinite(turned) ? turned : body->a;
  const cpVect rot = cpvforangle(a);
  const cpVect c = body->cog;
  body->transform = cpTransformNewTranspose(rot.x, -rot.y, p.x - (c.x * rot.x - c.y * rot.y), rot.y,
                                            rot.x, p.y - (c.x * rot.y + c.y * rot.x));
  body->v_bias = cpvzero;
  body->w_bias = 0.0;
}

}  // namespace

SilencedStdout::SilencedStdout(FILE* silenced) : stream(silenced) {
  std::fflush(stream);
  saved = dup(fileno(stream));
  const int devnull = open("/dev/null", O_WRONLY);
  if (saved >= 0 && devnull >= 0) dup2(devnull, fileno(stream));
  if (devnull >= 0) close(devnull);
}

SilencedStdout::~SilencedStdout() {
  std::fflush(stream);
  if (saved >= 0) {
    dup2(saved, fileno(stream));
    close(saved);
  }
}

void initPhysics() {
  SilencedStdout quiet;
  cpSpaceFree(cpSpaceNew());
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

void guardBody(cpBody* body) {
  cpBodySetVelocityUpdateFunc(body, guardedVelocity);
  cpBodySetPositionUpdateFunc(body, guardedPosition);
}

void guardKinematicBody(cpBody* body) { cpBodySetPositionUpdateFunc(body, guardedPosition); }

ShapeKind shapeKind(const cpShape* shape) {
  switch (shape->klass->type) {
    case CP_CIRCLE_SHAPE: return ShapeKind::Circle;
    case CP_SEGMENT_SHAPE: return ShapeKind::Segment;
    default: return ShapeKind::Polygon;
  }
}

uint64_t stateHash(cpSpace* space) {
  uint64_t hash = 1469598103934665603ull;
  cpSpaceEachBody(
      space,
      [](cpBody* b, void* data) {
        auto& h = *static_cast<uint64_t*>(data);
        const cpVect p = cpBodyGetPosition(b), v = cpBodyGetVelocity(b);
        for (double d : {p.x, p.y, cpBodyGetAngle(b), v.x, v.y, cpBodyGetAngularVelocity(b)}) {
          unsigned char bytes[sizeof d];
          std::memcpy(bytes, &d, sizeof d);
          for (unsigned char byte : bytes) h = (h ^ byte) * 1099511628211ull;
        }
      },
      &hash);
  return hash;
}

void stepSpace(cpSpace* space, int substeps, double dt) {
  for (int i = 0; i < substeps; ++i) cpSpaceStep(space, dt);
}
