#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>

#include "world/bounds.h"
#include "world/builders.h"
#include "world/check_scene.h"
#include "world/limits.h"
#include "world/mesh.h"
#include "world/physics.h"

namespace {

// The library aborts on a negative or NaN elasticity or friction, and an infinite one turns
// into NaN impulses; such values become 0 (NaN, negative) or the largest float (infinite).
double surfaceValue(float value) {
  if (std::isnan(value) || value < 0.0f) return 0.0;
  return std::fmin(value, FLT_MAX);
}

void addShape(cpSpace* space, cpShape* shape, const SceneObject& object, BuildBudget& budget) {
  if (!admitShape(space, shape, budget)) {
    cpShapeFree(shape);
    return;
  }
  cpShapeSetElasticity(shape, surfaceValue(object.bounciness));
  cpShapeSetFriction(shape, surfaceValue(object.friction));
  cpSpaceAddShape(space, shape);  // a shape on a static body is a static shape
}

void addCollisionMesh(cpSpace* space, cpBody* body, cpVect offset, const SceneObject& object,
                      BuildBudget& budget) {
  const Mesh& mesh = *object.col_mesh;
  size_t count = mesh.triangles.size();
  if (cpBodyGetType(body) == CP_BODY_TYPE_DYNAMIC && count > kMaxMovingTriangles) {
    count = kMaxMovingTriangles;
    budget.met.triangles = true;
  }
  for (size_t i = 0; i < count && !budget.met.overlaps && !budget.met.items; ++i) {
    const MeshTriangle& t = mesh.triangles[i];
    cpVect a = mesh.vertices[t.a], b = mesh.vertices[t.b], c = mesh.vertices[t.c];
    // The library wants clockwise corners in this y-down frame.
    if ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) > 0) std::swap(b, c);
    const cpVect corners[3] = {cpvmult(a, object.scale), cpvmult(b, object.scale),
                               cpvmult(c, object.scale)};
    // A triangle without area has no edge normal to collide along.
    const double area = (corners[1].x - corners[0].x) * (corners[2].y - corners[0].y) -
                        (corners[1].y - corners[0].y) * (corners[2].x - corners[0].x);
    if (area == 0.0 || !std::isfinite(area) || !withinCoordinate(corners[0]) ||
        !withinCoordinate(corners[1]) || !withinCoordinate(corners[2]))
      continue;
    addShape(space, cpPolyShapeNew(body, 3, corners, cpTransformTranslate(offset), 0.0), object,
             budget);
  }
}

// The radius behind a moving object's moment: the smallest scaled distance of a collision
// mesh vertex from the object's origin, capped at 999.
float momentRadius(const SceneObject& object) {
  float r = 999.0f;
  if (!object.col_mesh) return r;
  for (const cpVect& v : object.col_mesh->vertices) {
    const float sum = static_cast<float>(v.x * v.x + v.y * v.y);
    const float d = std::sqrt(sum) * object.scale;
    // A vertex at the origin (a fan's centre, say) would give a moment of 0, which the
    // library cannot integrate; the nearest vertex off the origin stands for it.
    if (d != 0.0f && r > d) r = d;
  }
  return r;
}

}  // namespace

void buildObject(Scene& scene, SceneObject& object, cpSpace* space, BuildBudget& budget,
                 Diagnostics* diag) {
  if (!withinCoordinate(object.pos) || !withinScale(object.scale))
    return leftOut(
        diag, &object, withinCoordinate(object.pos) ? "obj_scale" : "obj_pos",
        beyondText("its position or scale", isFinite(object.pos) && std::isfinite(object.scale)));
  // An infinite mass cannot move: the object is static, as for a mass of 0 or below.
  const bool dynamic = object.mass > 0.0f && std::isfinite(object.mass);
  if (dynamic && !withinMass(object.mass))
    return leftOut(diag, &object, "obj_mass", "its mass is out of bounds");
  if (std::isinf(object.mass) && object.mass > 0.0f)
    replaced(diag, &object, "obj_mass", "an infinite mass makes the object static");
  cpBody* body = scene.static_body.get();
  cpVect offset = object.pos;
  if (dynamic) {
    if (!roomForItem(space, budget)) return;
    const float r = momentRadius(object);
    const double moment = cpMomentForCircle(object.mass, 0.0, r, cpvzero);
    if (!withinMoment(moment))
      return leftOut(diag, &object, "obj_mass",
                     "its moment of inertia works out as " + formatNumber(moment));
    body = cpBodyNew(object.mass, moment);
    guardBody(body);
    cpBodySetPosition(body, object.pos);
    cpSpaceAddBody(space, body);
    object.body = body;
    offset = cpvzero;
  }
  if (diag)
    reportSurfaceValues(diag, object, surfaceValue(object.bounciness),
                        surfaceValue(object.friction));
  if (object.col_mesh) {
    addCollisionMesh(space, body, offset, object, budget);
  } else if (object.has_col_line) {
    const cpVect a = object.col_line_a, b = object.col_line_b;
    const double r = object.col_line_radius;
    if (withinCoordinate(a) && withinCoordinate(b) && withinCoordinate(r))
      addShape(space, cpSegmentShapeNew(body, cpvadd(a, offset), cpvadd(b, offset), r), object,
               budget);
    else if (isFinite(a) && isFinite(b) && std::isfinite(r))
      replaced(diag, &object, "obj_col_line", "the collision line is left out: out of bounds");
    else
      replaced(diag, &object, "obj_col_line", "the collision line is left out: not finite");
  }
}
