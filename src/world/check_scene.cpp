#include "world/check_scene.h"

#include <chipmunk/chipmunk_structs.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "world/mesh.h"
#include "world/physics.h"

const char* const kNoSegmentCount =
    "its length over rope_approx_seg_len gives no whole segment count";

namespace {

// Contacts closer than this count as resting ones; overlaps deeper than kOverlap are reported.
constexpr double kTouching = 1.0;
constexpr double kOverlap = 0.5;

bool isStatic(const SceneObject& object) {
  return !(object.mass > 0.0f) || std::isinf(object.mass);
}

bool outsideView(double left, double top, double right, double bottom) {
  return right < 0.0 || left > kWorldWidth || bottom < 0.0 || top > kWorldHeight;
}

// A world point tied to by a joint or rope end without a body: outside the view, or, at an end
// naming a static object, nearer the origin than that object while the point relative to the
// object would be in view (so likely meant relative to it).
void checkWorldAnchor(Diagnostics* diag, const void* item, const char* what, cpVect anchor,
                      const char* keyword, const SceneObject* named) {
  const std::string point = formatPoint(anchor.x, anchor.y);
  if (outsideView(anchor.x, anchor.y, anchor.x, anchor.y)) {
    warnItem(diag, item, keyword,
             std::string(what) + " end is tied to the world point " + point +
                 ", outside the 1024 x 768 view: at a static or missing end the anchor is a " +
                 "world point" +
                 (named ? ", not a point relative to " + objectName(diag, named) : ""));
  } else if (const cpVect meant = named ? cpvadd(named->pos, anchor) : anchor;
             named && cpvdist(anchor, named->pos) > cpvlength(anchor) &&
             !outsideView(meant.x, meant.y, meant.x, meant.y)) {
    warnItem(diag, item, keyword,
             std::string(what) + " end on static " + objectName(diag, named) + " at " +
                 formatPoint(named->pos.x, named->pos.y) + " is tied to the world point " + point +
                 ": at a static end the anchor is a world point (relative to the object it " +
                 "would be " + formatPoint(meant.x, meant.y) + ")");
  }
}

double triangleArea(const Mesh& mesh, const MeshTriangle& t) {
  const cpVect a = mesh.vertices[t.a], b = mesh.vertices[t.b], c = mesh.vertices[t.c];
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

std::string meshPath(const Scene& scene, const Mesh* mesh) {
  for (const auto& [path, loaded] : scene.meshes)
    if (loaded.get() == mesh) return path;
  return "";
}

// Each mesh once: all triangles flat (the OBJ's x-y plane), or some collision triangles flat.
void checkMeshAreas(const Scene& scene, Diagnostics* diag) {
  std::set<const Mesh*> seen;
  for (const auto& [name, object] : scene.objects) {
    for (const Mesh* mesh : {object->col_mesh, object->mesh}) {
      if (!mesh || mesh->triangles.empty() || !seen.insert(mesh).second) continue;
      const char* keyword = mesh == object->col_mesh ? "obj_col_mesh" : "obj_mesh";
      const auto flat =
          std::count_if(mesh->triangles.begin(), mesh->triangles.end(),
                        [&](const MeshTriangle& t) { return triangleArea(*mesh, t) == 0.0; });
      const std::string path = "'" + meshPath(scene, mesh) + "'";
      if (flat == static_cast<long>(mesh->triangles.size())) {
        warnItem(
            diag, object, keyword,
            "every triangle of " + path +
                " has zero area: a vertex's x is its first number "
                "and y its third (the second is not used), so a mesh drawn in the OBJ's x-y plane "
                "lies flat");
      } else if (flat > 0 && mesh == object->col_mesh) {
        warnItem(diag, object, keyword,
                 std::to_string(flat) + " of " + std::to_string(mesh->triangles.size()) +
                     " triangles of " + path + " have zero area and give no collision shape");
      }
    }
  }
}

struct Extent {
  double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
  void add(double x, double y) {
    left = std::min(left, x), right = std::max(right, x);
    top = std::min(top, y), bottom = std::max(bottom, y);
  }
};

std::vector<cpShape*> shapesOf(cpBody* body) {
  std::vector<cpShape*> shapes;
  cpBodyEachShape(
      body,
      [](cpBody*, cpShape* s, void* list) {
        static_cast<std::vector<cpShape*>*>(list)->push_back(s);
      },
      &shapes);
  return shapes;
}

bool hasConstraints(cpBody* body) {
  bool any = false;
  cpBodyEachConstraint(
      body, [](cpBody*, cpConstraint*, void* found) { *static_cast<bool*>(found) = true; }, &any);
  return any;
}

// The shapes of every object as built: a static object's hang on the scene's static body.
std::vector<cpShape*> shapesOf(const Scene& scene, const SceneObject& object) {
  if (object.body) return shapesOf(object.body);
  std::vector<cpShape*> shapes;
  for (cpShape* s : shapesOf(scene.static_body.get()))
    if (cpShapeGetUserData(s) == &object) shapes.push_back(s);
  return shapes;
}

void checkOutsideView(const Scene& scene, const SceneObject& object, Diagnostics* diag) {
  Extent e;
  for (cpShape* s : shapesOf(scene, object)) {
    const cpBB bb = cpShapeGetBB(s);
    e.add(bb.l, bb.b), e.add(bb.r, bb.t);
  }
  if (object.mesh)
    for (const cpVect& v : object.mesh->vertices)
      e.add(object.pos.x + v.x * object.scale, object.pos.y + v.y * object.scale);
  if (e.left > e.right) e.add(object.pos.x, object.pos.y);
  // A moving object above the view, over it, falls into it: a common way to drop things in.
  const bool falls_in = object.body && scene.settings.gravity.y > 0.0 && e.bottom < 0.0 &&
                        !outsideView(e.left, 0.0, e.right, 0.0);
  if (!falls_in && outsideView(e.left, e.top, e.right, e.bottom))
    warnItem(diag, &object, "obj_pos",
             objectName(diag, &object) + " lies entirely outside the 1024 x 768 view: it spans x " +
                 formatNumber(e.left) + " to " + formatNumber(e.right) + ", y " +
                 formatNumber(e.top) + " to " + formatNumber(e.bottom) + " (y grows downwards)");
}

// A copy of a moving shape grown by kTouching, not in the space, so that shapes it touches
// (not only those it overlaps) are found.
cpShape* grownCopy(cpShape* shape) {
  cpBody* body = cpShapeGetBody(shape);
  if (shape->klass->type == CP_SEGMENT_SHAPE)
    return cpSegmentShapeNew(body, cpSegmentShapeGetA(shape), cpSegmentShapeGetB(shape),
                             cpSegmentShapeGetRadius(shape) + kTouching);
  if (shape->klass->type != CP_POLY_SHAPE) return nullptr;
  std::vector<cpVect> corners(cpPolyShapeGetCount(shape));
  for (size_t i = 0; i < corners.size(); ++i) corners[i] = cpPolyShapeGetVert(shape, int(i));
  return cpPolyShapeNewRaw(body, int(corners.size()), corners.data(),
                           cpPolyShapeGetRadius(shape) + kTouching);
}

struct ContactQuery {
  cpBody* body;
  cpShape* shape;
  cpVect down;  // unit gravity, or zero
  std::map<const SceneObject*, double>* overlaps;
  std::set<const SceneObject*>* resting;
};

// Shapes this far out are left to the magnitude bounds: colliding them can abort inside the
// library, and no scene means them.
bool withinReach(cpShape* shape) {
  const cpBB bb = cpShapeGetBB(shape);
  const double reach = 1e7;
  return bb.l > -reach && bb.b > -reach && bb.r < reach && bb.t < reach;
}

void onContact(cpShape* other, const cpContactPointSet* points, ContactQuery& q) {
  const auto* object = static_cast<const SceneObject*>(cpShapeGetUserData(other));
  if (!object || points->count == 0) return;
  // How far the shapes themselves overlap (negative: the gap between them). The library's
  // sign of a contact's distance has differed between versions; it is an overlap here.
  double overlap = -INFINITY;
  for (int i = 0; i < points->count; ++i)
    overlap = std::max(overlap, std::fabs(points->points[i].distance) - kTouching);
  if (!object->body && overlap > kOverlap) {
    double& depth = (*q.overlaps)[object];
    depth = std::max(depth, overlap);
  }
  // Resting: touching a surface that faces against gravity, without friction on either side.
  if (cpvdot(points->normal, q.down) > 0.5 && cpShapeGetFriction(q.shape) == 0.0 &&
      cpShapeGetFriction(other) == 0.0)
    q.resting->insert(object);
}

void checkContacts(const Scene& scene, cpSpace* space, const SceneObject& object,
                   Diagnostics* diag) {
  const cpVect g = scene.settings.gravity;
  const double length = std::hypot(g.x, g.y);
  const cpVect down = length > 0.0 && std::isfinite(length) ? cpvmult(g, 1.0 / length) : cpvzero;
  std::map<const SceneObject*, double> overlaps;
  std::set<const SceneObject*> resting;
  for (cpShape* shape : shapesOf(object.body)) {
    cpShape* copy = withinReach(shape) ? grownCopy(shape) : nullptr;
    if (!copy) continue;
    ContactQuery query{object.body, shape, down, &overlaps, &resting};
    std::vector<cpShape*> near;
    cpSpaceBBQuery(
        space, cpShapeUpdate(copy, object.body->transform), CP_SHAPE_FILTER_ALL,
        [](cpShape* s, void* list) { static_cast<std::vector<cpShape*>*>(list)->push_back(s); },
        &near);
    for (cpShape* other : near) {
      if (cpShapeGetBody(other) == object.body || !withinReach(other)) continue;
      const cpContactPointSet points = cpShapesCollide(copy, other);
      onContact(other, &points, query);
    }
    cpShapeFree(copy);
  }
  const std::string name = objectName(diag, &object);
  for (const auto& [other, depth] : overlaps)
    warnItem(diag, &object, "obj_pos",
             "moving " + name + " starts overlapping static " + objectName(diag, other) + " by " +
                 formatNumber(depth) + ": the first steps push it out with a jump");
  for (const SceneObject* other : resting)
    warnItem(diag, &object, "obj_friction",
             name + " starts resting on " + objectName(diag, other) + " with friction 0 on both " +
                 "sides: friction multiplies and defaults to 0, so it slides as on ice (set " +
                 "obj_friction on both)");
}

}  // namespace

void leftOut(Diagnostics* diag, const SceneObject* object, const char* keyword,
             const std::string& why) {
  warnItem(diag, object, keyword, "object " + objectName(diag, object) + " is left out: " + why);
}

void leftOut(Diagnostics* diag, const SceneJoint* joint, const char* keyword,
             const std::string& why) {
  warnItem(diag, joint, keyword, "joint is left out: " + why);
}

void leftOut(Diagnostics* diag, const SceneRope* rope, const char* keyword,
             const std::string& why) {
  warnItem(diag, rope, keyword, "rope is left out: " + why);
}

void replaced(Diagnostics* diag, const void* item, const char* keyword, const std::string& what) {
  warnItem(diag, item, keyword, what);
}

std::string notMovingText(const Diagnostics* diag, const SceneObject& object, const char* role) {
  const std::string name = objectName(diag, &object);
  if (isStatic(object))
    return std::string("its ") + role + " " + name + " is static, and a joint needs a moving one";
  return std::string("its ") + role + " " + name +
         " was never built (a later object took its "
         "name, or it was left out)";
}

std::string ropeEndsText(const Diagnostics* diag, const SceneRope& rope) {
  auto end = [diag](const SceneObject* object) -> std::string {
    if (!object) return "no object";
    return objectName(diag, object) + (isStatic(*object) ? " is static" : " was never built");
  };
  return "neither end is a moving object (end a: " + end(rope.obj_a) +
         ", end b: " + end(rope.obj_b) + ")";
}

void reportSurfaceValues(Diagnostics* diag, const SceneObject& object, double bounciness,
                         double friction) {
  const struct {
    float given;
    double used;
    const char* keyword;
  } values[] = {{object.bounciness, bounciness, "obj_bounciness"},
                {object.friction, friction, "obj_friction"}};
  for (const auto& v : values)
    if (!(static_cast<double>(v.given) == v.used))
      replaced(diag, &object, v.keyword,
               std::string(v.keyword) + " " + formatNumber(v.given) + " is used as " +
                   formatNumber(v.used) + " (negative or NaN counts as 0, infinite as the " +
                   "largest float)");
}

void checkSettings(const Scene& scene, Diagnostics* diag) {
  const SceneSettings& s = scene.settings;
  const void* item = &s;
  if (!(s.fps > 0.0f) || !std::isfinite(s.fps))
    replaced(diag, item, "scene_fps", "scene_fps " + formatNumber(s.fps) + " runs at 60");
  if (s.step_iterations <= 0)
    replaced(diag, item, "scene_step_iterations",
             "scene_step_iterations " + std::to_string(s.step_iterations) +
                 ": the world is never stepped and stands still");
  if (s.step_iterations > kMaxSubsteps)
    replaced(diag, item, "scene_step_iterations",
             "scene_step_iterations above " + std::to_string(kMaxSubsteps) + " counts as " +
                 std::to_string(kMaxSubsteps));
  if (s.solver_iterations <= 0)
    replaced(diag, item, "scene_solver_iterations",
             "scene_solver_iterations of 0 or less keeps the default 10");
  if (s.solver_iterations > kMaxSolverIterations)
    replaced(diag, item, "scene_solver_iterations",
             "scene_solver_iterations above " + std::to_string(kMaxSolverIterations) +
                 " counts as " + std::to_string(kMaxSolverIterations));
  if (!isFinite(s.gravity))
    replaced(diag, item, "scene_gravity", "a gravity that is not finite keeps 0 0");
  if (!std::isfinite(s.damping) || s.damping < 0.0f)
    replaced(diag, item, "scene_damping",
             "scene_damping " + formatNumber(s.damping) + " keeps the default 1");
}

void checkJointEnds(const SceneJoint& joint, Diagnostics* diag) {
  // The builder ties a joint naming only its second object by that object's own anchor.
  const bool swapped = !joint.obj_a;
  const SceneObject* moving = swapped ? joint.obj_b : joint.obj_a;
  const SceneObject* other = swapped ? nullptr : joint.obj_b;
  if (!diag || !moving || !moving->body) return;
  // Objects are built at their declared places, so this is the joint's length when made.
  const cpVect a = cpvadd(moving->pos, swapped ? joint.anchor_b : joint.anchor_a);
  const cpVect b = other && other->body ? cpvadd(other->pos, joint.anchor_b)
                                        : (swapped ? joint.anchor_a : joint.anchor_b);
  if (joint.kind == JointKind::Pin && cpvdist(a, b) == 0.0)
    warnItem(diag, &joint, "",
             "pin joint of length 0: its anchors meet at " + formatPoint(a.x, a.y) +
                 ", which the physics library handles poorly (a slide joint with limits 0 0 " +
                 "holds them together)");
  if (other && other->body) return;
  checkWorldAnchor(diag, &joint, "joint", swapped ? joint.anchor_a : joint.anchor_b,
                   swapped ? "joint_anchor_a" : "joint_anchor_b", other);
}

void checkRopeEnds(const SceneRope& rope, Diagnostics* diag) {
  if (!diag || rope.segments.empty()) return;
  if (!rope.obj_a || !rope.obj_a->body)
    checkWorldAnchor(diag, &rope, "rope", rope.anchor_a, "rope_anchor_a", rope.obj_a);
  if (!rope.obj_b || !rope.obj_b->body)
    checkWorldAnchor(diag, &rope, "rope", rope.anchor_b, "rope_anchor_b", rope.obj_b);
}

void tagShapes(Scene& scene, SceneObject& object) {
  if (object.body) {
    for (cpShape* s : shapesOf(object.body)) cpShapeSetUserData(s, &object);
    return;
  }
  // A body lists its newest shape first: the untagged ones at the front are this object's.
  for (cpShape* s = scene.static_body->shapeList; s && !cpShapeGetUserData(s); s = s->next)
    cpShapeSetUserData(s, &object);
}

void checkWorld(Scene& scene, cpSpace* space, Diagnostics* diag) {
  if (!diag) return;
  const SceneSettings& s = scene.settings;
  for (const auto& rope : scene.ropes) {
    if (rope->segments.empty() || s.step_iterations <= 0 || s.step_iterations >= kRopeSubsteps)
      continue;
    const bool set = diag->set_at.count({&s, "scene_step_iterations"}) > 0;
    warnItem(diag, set ? static_cast<const void*>(&s) : rope.get(), "scene_step_iterations",
             "ropes need scene_step_iterations " + std::to_string(kRopeSubsteps) +
                 " or more (physics steps per tick); with " + std::to_string(s.step_iterations) +
                 " they stretch and let go of what they hold");
    break;
  }
  checkMeshAreas(scene, diag);
  for (const auto& [name, object] : scene.objects) {
    if (!isFinite(object->pos) || !std::isfinite(object->scale)) continue;  // left out
    // Held by a joint or rope, a shapeless object hangs where it is meant to (a pendulum's bob).
    if (object->body && shapesOf(object->body).empty() && !hasConstraints(object->body))
      warnItem(diag, object, "",
               "moving object " + objectName(diag, object) + " has no collision shape: it falls " +
                   "through everything (give it obj_col_mesh or obj_col_line, or obj_mass 0)");
    checkOutsideView(scene, *object, diag);
    if (object->body) checkContacts(scene, space, *object, diag);
  }
}
