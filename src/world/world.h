#pragma once
// A world built from a scene description: the physics space with every body, shape and
// constraint in it, the static body, and what became of each declared item. It owns all of
// it and frees it in the one right order; the description it was built from is shared and
// never changed, so one description can be built again.
#include <chipmunk/chipmunk.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scene/scene.h"
#include "world/limits.h"

struct Mesh;

// What became of a declared object. One a later object took the name of is never built.
struct BuiltObject {
  cpBody* body = nullptr;       // moving objects only
  const Mesh* drawn = nullptr;  // nullptr: no mesh, or left undrawn by the drawing limit
};

// A joint's ends as the builder took them: one naming only its second object is tied by that
// object, with its own anchor, to the world.
struct BuiltJoint {
  const SceneObject* first = nullptr;
  const SceneObject* second = nullptr;
  cpVect anchor_first = {0.0, 0.0};
  cpVect anchor_second = {0.0, 0.0};
  cpConstraint* constraint = nullptr;  // nullptr: left out
  bool broken = false;                 // removed from the space by its break force
};

struct BuiltRope {
  std::vector<cpBody*> segments;  // from the first end to the second; empty: left out
  float seg_len = 0.0f;
};

// What the build left out or replaced, and why: at the line that set `keyword` for the item
// ("" for its declaration).
struct BuildNote {
  const Source* source;
  const char* keyword;
  std::string text;
  int line = 0;  // when not 0, the line instead (one of several lines of one keyword)
};

// The workbench's hold on a moving object (see world/grab.h).
struct Grab {
  cpBody* handle = nullptr;  // follows the cursor; made at the first grab, never in the space
  cpConstraint* joint = nullptr;  // in the space while an object is held
  cpBody* body = nullptr;         // the object held
};

struct World {
  World();  // an empty space, as stepped while no scene can be read
  ~World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  std::shared_ptr<const Scene> scene;  // nullptr: the scene file could not be read
  cpSpace* space;
  cpBody* static_body;               // never added to the space
  std::vector<BuiltObject> objects;  // by SceneObject::index
  std::vector<BuiltJoint> joints;    // parallel to scene->joints
  std::vector<BuiltRope> ropes;      // parallel to scene->ropes

  // How the world is stepped: the scene's rate (60 for one that is not a positive finite
  // number) and its physics steps per tick (none for 0 or below), after the work limit.
  float fps = 60.0f;
  int substeps = 1;

  std::vector<BuiltJoint*> breakable;  // joints with a break force, in scene order
  uint64_t ticks = 0;                   // ticks stepped since the build
  Grab grab;

  std::vector<BuildNote> notes;  // in build order: settings, objects, ropes, joints
  LimitsMet limits;
  BuildCounts counts;

  const BuiltObject& of(const SceneObject& object) const { return objects[object.index]; }
};

// Builds everything the description declares: objects in name order, then ropes, then joints,
// in declaration order, within the limits of world/limits.h, and sets the space's solver
// iterations, gravity and damping.
std::unique_ptr<World> buildWorld(std::shared_ptr<const Scene> scene);

// One tick: the space stepped `substeps` times by dt, each joint whose force in a step passed
// its break force removed after that step.
void stepWorld(World& world, int substeps, double dt);
