#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>

#include "world/bounds.h"
#include "world/builders.h"
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

void leftOut(World& world, const SceneObject& object, const char* keyword, const std::string& why) {
  note(world, object.source, keyword, "object '" + object.name + "' is left out: " + why);
}

// Tagged with its object, so that whoever finds the shape can name it.
void addShape(World& world, cpShape* shape, const SceneObject& object) {
  if (!admitShape(world.space, shape, world.counts, world.limits)) {
    cpShapeFree(shape);
    return;
  }
  cpShapeSetElasticity(shape, surfaceValue(object.bounciness));
  cpShapeSetFriction(shape, surfaceValue(object.friction));
  cpShapeSetUserData(shape, const_cast<SceneObject*>(&object));
  cpSpaceAddShape(world.space, shape);  // a shape on a static body is a static shape
  ++(cpBodyGetType(cpShapeGetBody(shape)) == CP_BODY_TYPE_STATIC ? world.counts.static_shapes
                                                                 : world.counts.moving_shapes);
}

void addCollisionMesh(World& world, cpBody* body, cpVect offset, const SceneObject& object) {
  const Mesh& mesh = *object.col_mesh;
  size_t count = mesh.triangles.size();
  if (cpBodyGetType(body) == CP_BODY_TYPE_DYNAMIC && count > kMaxMovingTriangles) {
    count = kMaxMovingTriangles;
    world.limits.triangles = true;
  }
  for (size_t i = 0; i < count && !world.limits.overlaps && !world.limits.items; ++i) {
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
    addShape(world, cpPolyShapeNew(body, 3, corners, cpTransformTranslate(offset), 0.0), object);
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

// Bounciness and friction used in place of the values given.
void noteSurfaceValues(World& world, const SceneObject& object) {
  const struct {
    float given;
    const char* keyword;
  } values[] = {{object.bounciness, "obj_bounciness"}, {object.friction, "obj_friction"}};
  for (const auto& v : values)
    if (const double used = surfaceValue(v.given); !(static_cast<double>(v.given) == used))
      note(world, object.source, v.keyword,
           std::string(v.keyword) + " " + formatNumber(v.given) + " is used as " +
               formatNumber(used) + " (negative or NaN counts as 0, infinite as the " +
               "largest float)");
}

}  // namespace

bool isMoving(const SceneObject& object) {
  return object.mass > 0.0f && std::isfinite(object.mass);
}

void buildObject(World& world, const SceneObject& object) {
  if (!withinCoordinate(object.pos) || !withinScale(object.scale))
    return leftOut(
        world, object, withinCoordinate(object.pos) ? "obj_scale" : "obj_pos",
        beyondText("its position or scale", isFinite(object.pos) && std::isfinite(object.scale)));
  const bool dynamic = isMoving(object);
  if (dynamic && !withinMass(object.mass))
    return leftOut(world, object, "obj_mass", "its mass is out of bounds");
  if (std::isinf(object.mass) && object.mass > 0.0f)
    note(world, object.source, "obj_mass", "an infinite mass makes the object static");
  BuiltObject& built = world.objects[object.index];
  cpBody* body = world.static_body;
  cpVect offset = object.pos;
  if (dynamic) {
    if (!roomForItem(world.counts, world.limits)) return;  // the limit's message says so
    const float r = momentRadius(object);
    const double moment = cpMomentForCircle(object.mass, 0.0, r, cpvzero);
    if (!withinMoment(moment))
      return leftOut(world, object, "obj_mass",
                     "its moment of inertia works out as " + formatNumber(moment));
    body = cpBodyNew(object.mass, moment);
    guardBody(body);
    cpBodySetPosition(body, object.pos);
    cpSpaceAddBody(world.space, body);
    ++world.counts.moving_bodies;
    built.body = body;
    offset = cpvzero;
  }
  noteSurfaceValues(world, object);
  if (object.col_mesh) {
    addCollisionMesh(world, body, offset, object);
  } else if (object.has_col_line) {
    const cpVect a = object.col_line_a, b = object.col_line_b;
    const double r = object.col_line_radius;
    if (withinCoordinate(a) && withinCoordinate(b) && withinCoordinate(r))
      addShape(world, cpSegmentShapeNew(body, cpvadd(a, offset), cpvadd(b, offset), r), object);
    else
      note(world, object.source, "obj_col_line",
           std::string("the collision line is left out: ") +
               (isFinite(a) && isFinite(b) && std::isfinite(r) ? "out of bounds" : "not finite"));
  }
}
