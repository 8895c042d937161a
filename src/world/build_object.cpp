#include <cfloat>
#include <cmath>
#include <utility>

#include "world/builders.h"
#include "world/check_scene.h"
#include "world/mesh.h"
#include "world/physics.h"

namespace {

// The library aborts on a negative or NaN elasticity or friction, and an infinite one turns
// into NaN impulses; such values become 0 (NaN, negative) or the largest float (infinite).
double surfaceValue(float value) {
  if (std::isnan(value) || value < 0.0f) return 0.0;
  return std::fmin(value, FLT_MAX);
}

void addShape(cpSpace* space, cpShape* shape, const SceneObject& object) {
  cpShapeSetElasticity(shape, surfaceValue(object.bounciness));
  cpShapeSetFriction(shape, surfaceValue(object.friction));
  cpSpaceAddShape(space, shape);  // a shape on a static body is a static shape
}

void addCollisionMesh(cpSpace* space, cpBody* body, cpVect offset, const SceneObject& object) {
  const Mesh& mesh = *object.col_mesh;
  for (const MeshTriangle& t : mesh.triangles) {
    cpVect a = mesh.vertices[t.a], b = mesh.vertices[t.b], c = mesh.vertices[t.c];
    // The library wants clockwise corners in this y-down frame.
    if ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) > 0) std::swap(b, c);
    const cpVect corners[3] = {cpvmult(a, object.scale), cpvmult(b, object.scale),
                               cpvmult(c, object.scale)};
    // A triangle without area has no edge normal to collide along.
    const double area = (corners[1].x - corners[0].x) * (corners[2].y - corners[0].y) -
                        (corners[1].y - corners[0].y) * (corners[2].x - corners[0].x);
    if (area == 0.0 || !std::isfinite(area) || !isFinite(cpvadd(corners[0], offset)) ||
        !isFinite(cpvadd(corners[1], offset)) || !isFinite(cpvadd(corners[2], offset)))
      continue;
    addShape(space, cpPolyShapeNew(body, 3, corners, cpTransformTranslate(offset), 0.0), object);
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

void buildObject(Scene& scene, SceneObject& object, cpSpace* space, Diagnostics* diag) {
  if (!isFinite(object.pos) || !std::isfinite(object.scale))
    return leftOut(diag, &object, isFinite(object.pos) ? "obj_scale" : "obj_pos",
                   "its position or scale is not finite");
  // An infinite mass cannot move: the object is static, as for a mass of 0 or below.
  const bool dynamic = object.mass > 0.0f && std::isfinite(object.mass);
  if (std::isinf(object.mass) && object.mass > 0.0f)
    replaced(diag, &object, "obj_mass", "an infinite mass makes the object static");
  cpBody* body = scene.static_body.get();
  cpVect offset = object.pos;
  if (dynamic) {
    const float r = momentRadius(object);
    const double moment = cpMomentForCircle(object.mass, 0.0, r, cpvzero);
    if (!(moment > 0.0) || !std::isfinite(moment))
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
    addCollisionMesh(space, body, offset, object);
  } else if (object.has_col_line) {
    const cpVect a = cpvadd(object.col_line_a, offset), b = cpvadd(object.col_line_b, offset);
    if (isFinite(a) && isFinite(b) && std::isfinite(object.col_line_radius))
      addShape(space, cpSegmentShapeNew(body, a, b, object.col_line_radius), object);
    else
      replaced(diag, &object, "obj_col_line", "the collision line is left out: not finite");
  }
}
