#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>
#include <vector>

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
  if (object.group != 0)
    cpShapeSetFilter(shape, cpShapeFilterNew(object.group, CP_ALL_CATEGORIES, CP_ALL_CATEGORIES));
  cpSpaceAddShape(world.space, shape);  // a shape on a static body is a static shape
  ++(cpBodyGetType(cpShapeGetBody(shape)) == CP_BODY_TYPE_STATIC ? world.counts.static_shapes
                                                                 : world.counts.moving_shapes);
}

// A collision triangle's corners as the object scales them, clockwise as the library wants them
// in this y-down frame; false for a triangle that gives no shape (no area, or out of bounds).
bool collisionCorners(const SceneObject& object, const MeshTriangle& t, cpVect corners[3]) {
  const Mesh& mesh = *object.col_mesh;
  cpVect a = mesh.vertices[t.a], b = mesh.vertices[t.b], c = mesh.vertices[t.c];
  if ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) > 0) std::swap(b, c);
  corners[0] = cpvmult(a, object.scale), corners[1] = cpvmult(b, object.scale);
  corners[2] = cpvmult(c, object.scale);
  // A triangle without area has no edge normal to collide along.
  const double area = (corners[1].x - corners[0].x) * (corners[2].y - corners[0].y) -
                      (corners[1].y - corners[0].y) * (corners[2].x - corners[0].x);
  return area != 0.0 && std::isfinite(area) && withinCoordinate(corners[0]) &&
         withinCoordinate(corners[1]) && withinCoordinate(corners[2]);
}

size_t collisionTriangles(World& world, cpBody* body, const SceneObject& object) {
  const size_t count = object.col_mesh->triangles.size();
  if (cpBodyGetType(body) == CP_BODY_TYPE_STATIC || count <= kMaxMovingTriangles) return count;
  world.limits.triangles = true;
  return kMaxMovingTriangles;
}

// `place` puts the object's own coordinates into the body's: a static object's shapes hang on
// the static body at the object's place.
void addCollisionMesh(World& world, cpBody* body, cpTransform place, const SceneObject& object) {
  const size_t count = collisionTriangles(world, body, object);
  for (size_t i = 0; i < count && !world.limits.overlaps && !world.limits.items; ++i) {
    cpVect corners[3];
    if (collisionCorners(object, object.col_mesh->triangles[i], corners))
      addShape(world, cpPolyShapeNew(body, 3, corners, place, 0.0), object);
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

// Start values in radians; each one beyond bounds stays 0, with a note.
struct StartState {
  double angle = 0.0;
  cpVect velocity = cpvzero;
  double spin = 0.0;
};

constexpr double kRadians = 3.14159265358979323846 / 180.0;

StartState startState(World& world, const SceneObject& object) {
  StartState start;
  auto take = [&](double value, const char* keyword, double& to) {
    if (withinCoordinate(value)) return void(to = value * kRadians);
    note(world, object.source, keyword,
         std::string(keyword) + " " + formatNumber(value) + " is " +
             (std::isfinite(value) ? "out of bounds" : "not finite") + ": it starts at 0");
  };
  take(object.angle, "obj_angle", start.angle);
  take(object.spin, "obj_spin", start.spin);
  if (withinCoordinate(object.velocity))
    start.velocity = object.velocity;
  else
    note(world, object.source, "obj_velocity",
         beyondText("obj_velocity", isFinite(object.velocity)) + ": it starts at 0 0");
  return start;
}

bool usableCircle(const SceneCircle& circle) {
  return circle.radius > 0.0f && withinCoordinate(circle.radius) && withinCoordinate(circle.center);
}

void noteCircle(World& world, const SceneObject& object, const SceneCircle& circle) {
  const bool finite = std::isfinite(circle.radius) && isFinite(circle.center);
  std::string why = !finite                 ? "not finite"
                    : circle.radius <= 0.0f ? "its radius is 0 or less"
                                            : "out of bounds";
  world.notes.push_back(
      {&object.source, "obj_col_circle", "the collision circle is left out: " + why, circle.line});
}

// The moment of inertia about the object's position with its mass spread evenly over the area
// of its collision shapes as they are built (evenly over the shapes when none has an area, as
// for a line without a radius). 0 when it has none.
double spreadMoment(const SceneObject& object) {
  struct Part {
    double area;
    double moment;  // for a mass of 1: a moment grows with the mass
  };
  std::vector<Part> parts;
  if (object.col_mesh) {
    const size_t count = std::min(object.col_mesh->triangles.size(), kMaxMovingTriangles);
    for (size_t i = 0; i < count; ++i) {
      cpVect c[3];
      if (collisionCorners(object, object.col_mesh->triangles[i], c))
        parts.push_back(
            {std::fabs(cpAreaForPoly(3, c, 0.0)), cpMomentForPoly(1.0, 3, c, cpvzero, 0.0)});
    }
  } else if (object.has_col_line && withinCoordinate(object.col_line_a) &&
             withinCoordinate(object.col_line_b) && withinCoordinate(object.col_line_radius)) {
    const cpVect a = object.col_line_a, b = object.col_line_b;
    const double r = object.col_line_radius;
    parts.push_back({cpAreaForSegment(a, b, r), cpMomentForSegment(1.0, a, b, r)});
  }
  for (const SceneCircle& circle : object.circles)
    if (usableCircle(circle))
      parts.push_back({cpAreaForCircle(0.0, circle.radius),
                       cpMomentForCircle(1.0, 0.0, circle.radius, circle.center)});
  double total = 0.0;
  for (const Part& part : parts) total += part.area;
  double moment = 0.0;
  for (const Part& part : parts)
    moment += object.mass * (total > 0.0 ? part.area / total : 1.0 / parts.size()) * part.moment;
  return moment;
}

double momentOf(World& world, const SceneObject& object) {
  if (object.moment_rule == MomentRule::Given) return object.moment;
  if (object.moment_rule == MomentRule::Auto) {
    if (const double spread = spreadMoment(object); spread > 0.0) return spread;
    note(world, object.source, "obj_moment",
         "obj_moment auto finds no collision shape to spread the mass over: the moment follows "
         "the disc rule");
  }
  return cpMomentForCircle(object.mass, 0.0, momentRadius(object), cpvzero);
}


// A moving object given a collision mesh that has no collision shape at all, when the mesh is
// why: said at its obj_col_mesh line (at obj_scale for a scale of 0), since telling it to get a
// collision mesh would be wrong. Limits that left shapes out say so themselves.
void noteMeshWithoutShape(World& world, const SceneObject& object, cpBody* body) {
  if (!object.source.has("obj_col_mesh")) return;
  bool shapes = false;
  cpBodyEachShape(
      body, [](cpBody*, cpShape*, void* any) { *static_cast<bool*>(any) = true; }, &shapes);
  if (shapes) return;
  const Mesh* mesh = object.col_mesh;
  const std::string path = mesh ? "'" + meshPath(*world.scene, mesh) + "'" : "";
  int line = 0;
  std::string why;
  if (!mesh) {
    if (world.scene->meshes_cut) return;  // perhaps not read for the limit
    why = "the collision mesh file named here was not found";
  } else if (mesh->triangles.empty()) {
    why = "the collision mesh " + path + " has no triangle (" +
          (mesh->faces ? "every face was dropped" : "it has no face") + ")";
  } else if (object.scale == 0.0f) {
    why = "obj_scale 0 shrinks every triangle of " + path + " to nothing";
    line = object.source.lineOf("obj_scale");
  } else {
    const size_t count = std::min(mesh->triangles.size(), kMaxMovingTriangles);
    for (size_t i = 0; i < count; ++i) {
      cpVect corners[3];
      if (collisionCorners(object, mesh->triangles[i], corners)) return;
    }
    why = "no triangle of " + path +
          " gives a collision shape (each has zero area or lies out of bounds)";
  }
  world.notes.push_back({&object.source, "obj_col_mesh",
                         why + ", so moving object '" + object.name +
                             "' has no collision shape and passes through everything",
                         line});
}

}  // namespace

bool isMoving(const SceneObject& object) {
  return !object.kinematic && object.mass > 0.0f && std::isfinite(object.mass);
}

bool hasBody(const SceneObject& object) { return object.kinematic || isMoving(object); }

void buildObject(World& world, const SceneObject& object) {
  if (!withinCoordinate(object.pos) || !withinScale(object.scale))
    return leftOut(
        world, object, withinCoordinate(object.pos) ? "obj_scale" : "obj_pos",
        beyondText("its position or scale", isFinite(object.pos) && std::isfinite(object.scale)));
  const bool dynamic = isMoving(object);
  if (dynamic && !withinMass(object.mass))
    return leftOut(world, object, "obj_mass", "its mass is out of bounds");
  if (std::isinf(object.mass) && object.mass > 0.0f && !object.kinematic)
    note(world, object.source, "obj_mass", "an infinite mass makes the object static");
  if (object.kinematic && object.source.has("obj_mass"))
    note(world, object.source, "obj_mass",
         "obj_mass is not used: a kinematic object is moved by nothing, whatever its mass");
  const StartState start = startState(world, object);
  BuiltObject& built = world.objects[object.index];
  cpBody* body = world.static_body;
  cpVect offset = object.pos;
  if (hasBody(object)) {
    if (!roomForItem(world.counts, world.limits)) return;  // the limit's message says so
    if (object.kinematic) {
      body = cpBodyNewKinematic();
      guardKinematicBody(body);
    } else {
      const double moment = momentOf(world, object);
      if (!withinMoment(moment))
        return leftOut(world, object,
                       object.moment_rule == MomentRule::Given ? "obj_moment" : "obj_mass",
                       "its moment of inertia works out as " + formatNumber(moment));
      body = cpBodyNew(object.mass, moment);
      guardBody(body);
    }
    cpBodySetPosition(body, object.pos);
    if (start.angle != 0.0) cpBodySetAngle(body, start.angle);
    if (start.velocity.x != 0.0 || start.velocity.y != 0.0) cpBodySetVelocity(body, start.velocity);
    if (start.spin != 0.0) cpBodySetAngularVelocity(body, start.spin);
    cpSpaceAddBody(world.space, body);
    ++world.counts.moving_bodies;
    built.body = body;
    offset = cpvzero;
  }
  // A static object turns about its position; an unturned one's shapes are placed exactly as
  // they always were.
  const bool turned = !built.body && start.angle != 0.0;
  const cpTransform place =
      turned ? cpTransformRigid(offset, start.angle) : cpTransformTranslate(offset);
  auto at = [&](cpVect p) { return turned ? cpTransformPoint(place, p) : cpvadd(p, offset); };
  noteSurfaceValues(world, object);
  if (object.col_mesh) {
    addCollisionMesh(world, body, place, object);
  } else if (object.has_col_line) {
    const cpVect a = object.col_line_a, b = object.col_line_b;
    const double r = object.col_line_radius;
    if (withinCoordinate(a) && withinCoordinate(b) && withinCoordinate(r))
      addShape(world, cpSegmentShapeNew(body, at(a), at(b), r), object);
    else
      note(world, object.source, "obj_col_line",
           std::string("the collision line is left out: ") +
               (isFinite(a) && isFinite(b) && std::isfinite(r) ? "out of bounds" : "not finite"));
  }
  for (const SceneCircle& circle : object.circles) {
    if (!usableCircle(circle)) {
      noteCircle(world, object, circle);
      continue;
    }
    addShape(world, cpCircleShapeNew(body, circle.radius, at(circle.center)), object);
  }
  if (built.body && !object.kinematic) noteMeshWithoutShape(world, object, built.body);
}
