#include "world/check_scene.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "world/builders.h"
#include "world/mesh.h"
#include "world/physics.h"

namespace {

// Contacts closer than this count as resting ones; overlaps deeper than kOverlap are reported,
// between two moving objects only those deeper than kMovingOverlap.
constexpr double kTouching = 1.0;
constexpr double kOverlap = 0.5;
constexpr double kMovingOverlap = 2.0;

struct Lint {
  const World& world;
  const Scene& scene;
  Reporter& report;
  // The static body's shapes by the object they were built for.
  std::map<const void*, std::vector<cpShape*>> fixed_shapes;
  // Moving objects that start touching a static one, and one such static object.
  std::map<const SceneObject*, const SceneObject*> on_static;

  // A warning about an item, at the line that last set `keyword` for it, else at its
  // declaration.
  void warnItem(const Source& source, const char* keyword, const std::string& text) {
    warnAt(report, {scene.path, source.lineOf(keyword)}, text);
  }
  void warnNote(const BuildNote& n) {
    if (n.line != 0) return warnAt(report, {scene.path, n.line}, n.text);
    warnItem(*n.source, n.keyword, n.text);
  }
  cpBody* body(const SceneObject* object) const {
    return object ? world.of(*object).body : nullptr;
  }
};

std::string quoted(const SceneObject& object) { return "'" + object.name + "'"; }

bool outsideView(double left, double top, double right, double bottom) {
  return right < 0.0 || left > kWorldWidth || bottom < 0.0 || top > kWorldHeight;
}

// A world point tied to by a joint or rope end without a body: outside the view, or, at an end
// naming a static object, nearer the origin than that object while the point relative to the
// object would be in view (so likely meant relative to it).
void checkWorldAnchor(Lint& lint, const Source& item, const char* what, cpVect anchor,
                      const char* keyword, const SceneObject* named) {
  const std::string point = formatPoint(anchor.x, anchor.y);
  if (outsideView(anchor.x, anchor.y, anchor.x, anchor.y)) {
    lint.warnItem(item, keyword,
                  std::string(what) + " end is tied to the world point " + point +
                      ", outside the 1024 x 768 view: at a static or missing end the anchor is a " +
                      "world point" + (named ? ", not a point relative to " + quoted(*named) : ""));
  } else if (const cpVect meant = named ? cpvadd(named->pos, anchor) : anchor;
             named && cpvdist(anchor, named->pos) > cpvlength(anchor) &&
             !outsideView(meant.x, meant.y, meant.x, meant.y)) {
    lint.warnItem(item, keyword,
                  std::string(what) + " end on static " + quoted(*named) + " at " +
                      formatPoint(named->pos.x, named->pos.y) + " is tied to the world point " +
                      point +
                      ": at a static end the anchor is a world point (relative to the object it " +
                      "would be " + formatPoint(meant.x, meant.y) + ")");
  }
}

double triangleArea(const Mesh& mesh, const MeshTriangle& t) {
  const cpVect a = mesh.vertices[t.a], b = mesh.vertices[t.b], c = mesh.vertices[t.c];
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}


// Each mesh once: all triangles flat (the OBJ's x-y plane), or some collision triangles flat.
void checkMeshAreas(Lint& lint) {
  const Scene& scene = lint.scene;
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
        lint.warnItem(
            object->source, keyword,
            "every triangle of " + path +
                " has zero area: a vertex's x is its first number "
                "and y its third (the second is not used), so a mesh drawn in the OBJ's x-y plane "
                "lies flat");
      } else if (flat > 0 && mesh == object->col_mesh) {
        lint.warnItem(object->source, keyword,
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

// The shapes of an object as built: a static object's hang on the static body, tagged with it.
std::vector<cpShape*> shapesOf(const Lint& lint, const SceneObject& object) {
  if (cpBody* body = lint.body(&object)) return shapesOf(body);
  const auto found = lint.fixed_shapes.find(&object);
  return found == lint.fixed_shapes.end() ? std::vector<cpShape*>{} : found->second;
}

void checkOutsideView(Lint& lint, const SceneObject& object) {
  Extent e;
  for (cpShape* s : shapesOf(lint, object)) {
    const cpBB bb = cpShapeGetBB(s);
    e.add(bb.l, bb.b), e.add(bb.r, bb.t);
  }
  if (object.mesh)
    for (const cpVect& v : object.mesh->vertices)
      e.add(object.pos.x + v.x * object.scale, object.pos.y + v.y * object.scale);
  if (e.left > e.right) e.add(object.pos.x, object.pos.y);
  // A moving object above the view, over it, falls into it: a common way to drop things in.
  const bool falls_in = lint.body(&object) && lint.scene.settings.gravity.y > 0.0 &&
                        e.bottom < 0.0 && !outsideView(e.left, 0.0, e.right, 0.0);
  if (!falls_in && outsideView(e.left, e.top, e.right, e.bottom))
    lint.warnItem(object.source, "obj_pos",
                  quoted(object) + " lies entirely outside the 1024 x 768 view: it spans x " +
                      formatNumber(e.left) + " to " + formatNumber(e.right) + ", y " +
                      formatNumber(e.top) + " to " + formatNumber(e.bottom) +
                      " (y grows downwards)");
}

// A copy of a moving shape grown by kTouching, not in the space, so that shapes it touches
// (not only those it overlaps) are found. An object's shapes are its collision mesh's
// triangles, or else its collision line, and its circles.
cpShape* grownCopy(cpShape* shape) {
  cpBody* body = cpShapeGetBody(shape);
  if (shapeKind(shape) == ShapeKind::Circle)
    return cpCircleShapeNew(body, cpCircleShapeGetRadius(shape) + kTouching,
                            cpCircleShapeGetOffset(shape));
  if (shapeKind(shape) == ShapeKind::Segment)
    return cpSegmentShapeNew(body, cpSegmentShapeGetA(shape), cpSegmentShapeGetB(shape),
                             cpSegmentShapeGetRadius(shape) + kTouching);
  std::vector<cpVect> corners(cpPolyShapeGetCount(shape));
  for (size_t i = 0; i < corners.size(); ++i) corners[i] = cpPolyShapeGetVert(shape, int(i));
  return cpPolyShapeNewRaw(body, int(corners.size()), corners.data(),
                           cpPolyShapeGetRadius(shape) + kTouching);
}

// Findings about one object list the others by name: an order by address would change with
// the heap from run to run.
struct ByName {
  bool operator()(const SceneObject* a, const SceneObject* b) const { return a->name < b->name; }
};
using Overlaps = std::map<const SceneObject*, double, ByName>;
using Resting = std::set<const SceneObject*, ByName>;

struct ContactQuery {
  Lint* lint;
  const SceneObject* self;
  cpShape* shape;
  cpVect down;  // unit gravity, or zero
  Overlaps* overlaps;
  Resting* resting;
};

// Shapes this far out are left to the magnitude bounds: colliding them can abort inside the
// library, and no scene means them.
bool withinReach(cpShape* shape) {
  const cpBB bb = cpShapeGetBB(shape);
  const double reach = 1e7;
  return bb.l > -reach && bb.b > -reach && bb.r < reach && bb.t < reach;
}

// Whether the library lets two shapes collide: not of one group, not on two bodies a joint
// keeps apart.
bool mayCollide(cpShape* a, cpShape* b) {
  const cpGroup group = cpShapeGetFilter(a).group;
  if (group != CP_NO_GROUP && group == cpShapeGetFilter(b).group) return false;
  struct Apart {
    cpBody* other;
    bool found;
  } apart{cpShapeGetBody(b), false};
  cpBodyEachConstraint(
      cpShapeGetBody(a),
      [](cpBody*, cpConstraint* c, void* data) {
        auto& q = *static_cast<Apart*>(data);
        q.found =
            q.found || (!cpConstraintGetCollideBodies(c) &&
                        (cpConstraintGetBodyA(c) == q.other || cpConstraintGetBodyB(c) == q.other));
      },
      &apart);
  return !apart.found;
}

void onContact(cpShape* other, const cpContactPointSet* points, ContactQuery& q) {
  const auto* object = static_cast<const SceneObject*>(cpShapeGetUserData(other));
  if (!object || points->count == 0 || !mayCollide(q.shape, other)) return;
  if (!q.lint->body(object)) q.lint->on_static.emplace(q.self, object);
  // How far the shapes themselves overlap (negative: the gap between them). The library's
  // sign of a contact's distance has differed between versions; it is an overlap here.
  double overlap = -INFINITY;
  for (int i = 0; i < points->count; ++i)
    overlap = std::max(overlap, std::fabs(points->points[i].distance) - kTouching);
  // Two moving objects overlap each other: told once, at the first by name, and only when
  // deeper than objects packed edge to edge come.
  const bool moving = q.lint->body(object) != nullptr;
  const bool told = !moving || (q.self->name < object->name && overlap > kMovingOverlap);
  if (overlap > kOverlap) {
    if (told) {
      double& depth = (*q.overlaps)[object];
      depth = std::max(depth, overlap);
    }
    return;  // an overlap, whatever the friction
  }
  // Resting: touching a surface that faces against gravity, without friction on either side.
  if (cpvdot(points->normal, q.down) > 0.5 && cpShapeGetFriction(q.shape) == 0.0 &&
      cpShapeGetFriction(other) == 0.0)
    q.resting->insert(object);
}

void checkContacts(Lint& lint, const SceneObject& object) {
  cpBody* body = lint.body(&object);
  const cpVect g = lint.scene.settings.gravity;
  const double length = std::hypot(g.x, g.y);
  const cpVect down = length > 0.0 && std::isfinite(length) ? cpvmult(g, 1.0 / length) : cpvzero;
  Overlaps overlaps;
  Resting resting;
  // Where the body's shapes are placed, turned as it starts.
  const cpTransform placed = cpTransformRigid(cpBodyGetPosition(body), cpBodyGetAngle(body));
  for (cpShape* shape : shapesOf(body)) {
    cpShape* copy = withinReach(shape) ? grownCopy(shape) : nullptr;
    if (!copy) continue;
    ContactQuery query{&lint, &object, shape, down, &overlaps, &resting};
    std::vector<cpShape*> near;
    cpSpaceBBQuery(
        lint.world.space, cpShapeUpdate(copy, placed), CP_SHAPE_FILTER_ALL,
        [](cpShape* s, void* list) { static_cast<std::vector<cpShape*>*>(list)->push_back(s); },
        &near);
    for (cpShape* other : near) {
      if (cpShapeGetBody(other) == body || !withinReach(other)) continue;
      const cpContactPointSet points = cpShapesCollide(copy, other);
      onContact(other, &points, query);
    }
    cpShapeFree(copy);
  }
  const std::string name = quoted(object);
  for (const auto& [other, depth] : overlaps)
    lint.warnItem(object.source, "obj_pos",
                  "moving " + name + " starts overlapping " +
                      (other->kinematic ? "kinematic " : lint.body(other) ? "moving " : "static ") +
                      quoted(*other) + " by " +
                      formatNumber(depth) + ": the first steps push " +
                      (lint.body(other) ? "them apart" : "it out") + " with a jump" +
                      (lint.body(other) ? " (move one of them, or give them one obj_group)" : ""));
  for (const SceneObject* other : resting)
    lint.warnItem(object.source, "obj_friction",
                  name + " starts resting on " + quoted(*other) + " with friction 0 on both " +
                      "sides: friction multiplies and defaults to 0, so it slides as on ice (set " +
                      "obj_friction on both)");
}

// A joint end tied to the world at a point the author likely did not mean: outside the view,
// or near the origin rather than near the static object it names. Also a pin joint of
// length 0.
void checkJointEnds(Lint& lint, const SceneJoint& joint, const BuiltJoint& built) {
  if (joint.kind != JointKind::Pin && joint.kind != JointKind::Slide) {
    // Joints on angles alone, and a pivot at a world point, use no anchor; a groove on the
    // world is given in world points.
    const bool anchored = joint.kind == JointKind::Spring || joint.kind == JointKind::Groove ||
                          (joint.kind == JointKind::Pivot && !joint.source.has("joint_pivot"));
    if (!anchored || !built.constraint) return;
    // An object left out has its own warning.
    auto world_end = [](const SceneObject* o) { return !o || !hasBody(*o); };
    if (world_end(joint.obj_a) && joint.kind != JointKind::Groove)
      checkWorldAnchor(lint, joint.source, "joint", joint.anchor_a, "joint_anchor_a", joint.obj_a);
    if (world_end(joint.obj_b))
      checkWorldAnchor(lint, joint.source, "joint", joint.anchor_b, "joint_anchor_b", joint.obj_b);
    return;
  }
  if (!lint.body(built.first)) return;
  const SceneObject& first = *built.first;
  const SceneObject* other = built.second;
  const bool other_moves = lint.body(other) != nullptr;
  // Objects are built at their declared places, so this is the joint's length when made.
  const cpVect a = cpvadd(first.pos, built.anchor_first);
  const cpVect b = other_moves ? cpvadd(other->pos, built.anchor_second) : built.anchor_second;
  if (joint.kind == JointKind::Pin && cpvdist(a, b) == 0.0)
    lint.warnItem(joint.source, "",
                  "pin joint of length 0: its anchors meet at " + formatPoint(a.x, a.y) +
                      ", which the physics library handles poorly (a slide joint with limits 0 " +
                      "0 holds them together)");
  if (other_moves) return;
  const bool swapped = built.first != joint.obj_a;
  checkWorldAnchor(lint, joint.source, "joint", built.anchor_second,
                   swapped ? "joint_anchor_a" : "joint_anchor_b", other);
}

// Springs without stiffness, and motors of unlimited force driving an object that starts on a
// static one (it grinds or flings whatever it is pressed against).
void checkJointStrength(Lint& lint, const SceneJoint& joint, const BuiltJoint& built) {
  if (!built.constraint) return;
  const bool spring = joint.kind == JointKind::Spring || joint.kind == JointKind::RotarySpring;
  if (spring && joint.stiffness == 0.0f)
    lint.warnItem(joint.source, "joint_stiffness",
                  "a spring of stiffness 0 holds nothing: give it joint_stiffness");
  if (joint.kind != JointKind::Motor || joint.source.has("joint_max_force")) return;
  for (const SceneObject* end : {joint.obj_a, joint.obj_b}) {
    const auto found = end ? lint.on_static.find(end) : lint.on_static.end();
    if (found == lint.on_static.end()) continue;
    lint.warnItem(joint.source, "",
                  "motor without joint_max_force turns " + quoted(*end) + ", which starts on " +
                      "static " + quoted(*found->second) + ": its force has no limit, so " +
                      "it turns whatever holds it back at any cost (give it joint_max_force)");
    return;
  }
}

// The keywords a joint of each kind reads beyond its ends and the options every kind takes.
const char* const* kindKeywords(JointKind kind) {
  static const char* const anchors[] = {"joint_anchor_a", "joint_anchor_b", nullptr};
  static const char* const slide[] = {"joint_anchor_a", "joint_anchor_b", "joint_slide_min",
                                      "joint_slide_max", nullptr};
  static const char* const pivot[] = {"joint_anchor_a", "joint_anchor_b", "joint_pivot", nullptr};
  static const char* const groove[] = {"joint_anchor_b", "joint_groove_a", "joint_groove_b",
                                       nullptr};
  static const char* const spring[] = {"joint_anchor_a",  "joint_anchor_b", "joint_rest_length",
                                       "joint_stiffness", "joint_damping",  nullptr};
  static const char* const rotary_spring[] = {"joint_rest_angle", "joint_stiffness",
                                              "joint_damping", nullptr};
  static const char* const limit[] = {"joint_angle_min", "joint_angle_max", nullptr};
  static const char* const ratchet[] = {"joint_phase", "joint_ratchet", nullptr};
  static const char* const gear[] = {"joint_phase", "joint_ratio", nullptr};
  static const char* const motor[] = {"joint_rate", nullptr};
  switch (kind) {
    case JointKind::Pin: return anchors;
    case JointKind::Slide: return slide;
    case JointKind::Pivot: return pivot;
    case JointKind::Groove: return groove;
    case JointKind::Spring: return spring;
    case JointKind::RotarySpring: return rotary_spring;
    case JointKind::RotaryLimit: return limit;
    case JointKind::Ratchet: return ratchet;
    case JointKind::Gear: return gear;
    case JointKind::Motor: return motor;
  }
  return anchors;
}

const char* const kKindNames[] = {"pin",           "slide",        "pivot",   "groove", "spring",
                                  "rotary spring", "rotary limit", "ratchet", "gear",   "motor"};

bool reads(const char* const* keywords, const std::string& keyword) {
  for (; *keywords; ++keywords)
    if (keyword == *keywords) return true;
  return false;
}

// A value its item never reads. Pin and slide joints keep their silence about the older
// keywords they ignore.
void checkUnread(Lint& lint, const SceneJoint& joint) {
  static const char* const common[] = {
      "joint_obj_a", "joint_obj_b", "joint_max_force", "joint_break_force", "joint_collide",
      "joint_color", nullptr};
  const bool older = joint.kind == JointKind::Pin || joint.kind == JointKind::Slide;
  const bool at_pivot = joint.kind == JointKind::Pivot && joint.source.has("joint_pivot");
  const std::string kind = kKindNames[static_cast<int>(joint.kind)];
  for (const auto& [keyword, line] : joint.source.set) {
    const std::string word = keyword;
    const bool older_word = word.rfind("joint_anchor_", 0) == 0 ||
                            word.rfind("joint_slide_", 0) == 0 || word.rfind("joint_obj_", 0) == 0;
    if (reads(common, word) || (older && older_word)) continue;
    if (at_pivot && word.rfind("joint_anchor_", 0) == 0)
      warnAt(lint.report, {lint.scene.path, line},
             word + " is not read: joint_pivot sets both anchors of this pivot joint");
    else if (!reads(kindKeywords(joint.kind), word))
      warnAt(lint.report, {lint.scene.path, line}, word + " does nothing to a " + kind + " joint");
  }
}

void checkObjectUnread(Lint& lint, const SceneObject& object) {
  const bool moving = isMoving(object);
  for (const char* keyword : {"obj_velocity", "obj_spin", "obj_moment"}) {
    if (!object.source.has(keyword) || moving) continue;
    if (object.kinematic && std::string(keyword) != "obj_moment") continue;
    lint.warnItem(object.source, keyword,
                  std::string(keyword) + " does nothing to a " +
                      (object.kinematic ? "kinematic" : "static") + " object" +
                      (object.kinematic ? "" : " (give it a mass, or obj_kinematic 1)"));
  }
}

void checkRopeEnds(Lint& lint, const SceneRope& rope, const BuiltRope& built) {
  if (built.segments.empty()) return;
  if (!lint.body(rope.obj_a))
    checkWorldAnchor(lint, rope.source, "rope", rope.anchor_a, "rope_anchor_a", rope.obj_a);
  if (!lint.body(rope.obj_b))
    checkWorldAnchor(lint, rope.source, "rope", rope.anchor_b, "rope_anchor_b", rope.obj_b);
}

// Settings that stop everything or black the picture out, as a value meant as "none" does.
void checkSettings(Lint& lint) {
  const SceneSettings& s = lint.scene.settings;
  if (s.source.has("scene_damping") && s.damping == 0.0f)
    lint.warnItem(s.source, "scene_damping",
                  "scene_damping 0 stops every moving object at once: it is the share of its "
                  "speed an object keeps each second, so 1 (the default) means no damping; "
                  "delete the line, or write 0.9 to slow things a little");
  if (s.glow_enabled && !(s.glow_base > 0.0f))
    lint.warnItem(s.source, "scene_glow_base",
                  "scene_glow_base " + formatNumber(s.glow_base) +
                      " with the glow on draws the whole picture black: it weighs the glow's "
                      "levels; delete the line for the default 0.8");
}

// Ropes stretch with fewer than kRopeSubsteps steps per tick, as the author asked for them or
// as the work limit lowered them.
void checkRopeSteps(Lint& lint) {
  const World& world = lint.world;
  const SceneSettings& s = lint.scene.settings;
  const auto built = std::find_if(world.ropes.begin(), world.ropes.end(),
                                  [](const BuiltRope& r) { return !r.segments.empty(); });
  if (built == world.ropes.end() || world.substeps <= 0 || world.substeps >= kRopeSubsteps) return;
  const std::string effect = " they stretch and let go of what they hold";
  if (s.step_iterations >= kRopeSubsteps) {
    warnAt(lint.report, {lint.scene.path, 0},
           "ropes need " + std::to_string(kRopeSubsteps) +
               " or more physics steps per tick; the work limit lowered scene_step_iterations " +
               std::to_string(s.step_iterations) + " to " + std::to_string(world.substeps) +
               ", so" + effect);
    return;
  }
  const Source& rope = lint.scene.ropes[built - world.ropes.begin()]->source;
  lint.warnItem(s.source.has("scene_step_iterations") ? s.source : rope, "scene_step_iterations",
                "ropes need scene_step_iterations " + std::to_string(kRopeSubsteps) +
                    " or more (physics steps per tick); with " + std::to_string(s.step_iterations) +
                    effect);
}

}  // namespace

void checkWorld(const World& world, Reporter& report) {
  const Scene& scene = *world.scene;
  Lint lint{world, scene, report, {}, {}};
  for (cpShape* s : shapesOf(world.static_body))
    lint.fixed_shapes[cpShapeGetUserData(s)].push_back(s);
  // The notes come in build order: objects, ropes, joints, then the settings, told first here.
  const auto& notes = world.notes;
  for (const BuildNote& n : notes)
    if (n.source == &scene.settings.source) lint.warnNote(n);
  size_t next = 0;
  auto notesOf = [&](const Source& source) {
    for (; next < notes.size() && notes[next].source == &source; ++next) lint.warnNote(notes[next]);
  };
  for (const auto& [name, object] : scene.objects) notesOf(object->source);
  for (size_t i = 0; i < scene.ropes.size(); ++i) {
    notesOf(scene.ropes[i]->source);
    checkRopeEnds(lint, *scene.ropes[i], world.ropes[i]);
  }
  for (size_t i = 0; i < scene.joints.size(); ++i) {
    checkJointEnds(lint, *scene.joints[i], world.joints[i]);
    notesOf(scene.joints[i]->source);
  }

  checkSettings(lint);
  checkRopeSteps(lint);
  checkMeshAreas(lint);
  for (const auto& [name, object] : scene.objects) {
    if (!isFinite(object->pos) || !std::isfinite(object->scale)) continue;  // left out
    cpBody* body = lint.body(object);
    // Held by a joint or rope, a shapeless object hangs where it is meant to (a pendulum's bob).
    // A collision mesh that gave no shape has said why at its own line.
    const Source* source = &object->source;
    const bool told = std::any_of(notes.begin(), notes.end(), [source](const BuildNote& n) {
      return n.source == source && std::strcmp(n.keyword, "obj_col_mesh") == 0;
    });
    if (body && !object->kinematic && !told && shapesOf(body).empty() && !hasConstraints(body))
      lint.warnItem(object->source, "",
                    "moving object " + quoted(*object) + " has no collision shape: it falls " +
                        "through everything (give it obj_col_mesh or obj_col_line, or obj_mass 0)");
    checkOutsideView(lint, *object);
    if (body && !object->kinematic) checkContacts(lint, *object);
  }
  for (size_t i = 0; i < scene.joints.size(); ++i) {
    checkJointStrength(lint, *scene.joints[i], world.joints[i]);
    checkUnread(lint, *scene.joints[i]);
  }
  for (const auto& [name, object] : scene.objects) checkObjectUnread(lint, *object);
}
