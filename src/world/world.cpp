#include "world/world.h"

#include <algorithm>
#include <cmath>

#include "world/builders.h"
#include "world/mesh.h"
#include "world/physics.h"

namespace {

// Leaves the drawn meshes out that would pass kMaxDrawnTriangles, in name order.
void limitDrawnMeshes(World& world) {
  size_t drawn = 0;
  for (const auto& [name, object] : world.scene->objects) {
    if (!object->mesh) continue;
    const size_t count = object->mesh->triangles.size();
    if (count > kMaxDrawnTriangles - drawn) {
      world.limits.drawn = true;
    } else {
      drawn += count;
      world.objects[object->index].drawn = object->mesh;
    }
  }
}

}  // namespace

World::World() : space(newSpace()), static_body(cpBodyNewStatic()) {}

World::~World() {
  freeSpace(space);  // its shapes and joints hang on the static body too
  for (BuiltJoint* joint : breakable)
    if (joint->broken) cpConstraintFree(joint->constraint);  // no longer in the space
  if (grab.handle) cpBodyFree(grab.handle);
  cpBodyFree(static_body);
}

void stepWorld(World& world, int substeps, double dt) {
  ++world.ticks;
  if (world.breakable.empty()) return stepSpace(world.space, substeps, dt);
  for (int i = 0; i < substeps; ++i) {
    cpSpaceStep(world.space, dt);
    for (BuiltJoint* joint : world.breakable) {
      if (joint->broken) continue;
      const auto& declared = *static_cast<const SceneJoint*>(cpConstraintGetUserData(joint->constraint));
      // Springs and motors give their impulse with its sign.
      if (std::fabs(cpConstraintGetImpulse(joint->constraint)) / dt > declared.break_force) {
        cpSpaceRemoveConstraint(world.space, joint->constraint);
        joint->broken = true;
      }
    }
  }
}

void note(World& world, const Source& source, const char* keyword, std::string text) {
  world.notes.push_back({&source, keyword, std::move(text)});
}

void applySettings(World& world, const SceneSettings& s) {
  const Source& at = s.source;
  if (!(s.fps > 0.0f) || !std::isfinite(s.fps)) {
    note(world, at, "scene_fps", "scene_fps " + formatNumber(s.fps) + " runs at 60");
  } else {
    world.fps = s.fps;
  }
  if (s.step_iterations <= 0)
    note(world, at, "scene_step_iterations",
         "scene_step_iterations " + std::to_string(s.step_iterations) +
             ": the world is never stepped and stands still");
  if (s.step_iterations > kMaxSubsteps)
    note(world, at, "scene_step_iterations",
         "scene_step_iterations above " + std::to_string(kMaxSubsteps) + " counts as " +
             std::to_string(kMaxSubsteps));
  if (s.solver_iterations <= 0)
    note(world, at, "scene_solver_iterations",
         "scene_solver_iterations of 0 or less keeps the default 10");
  if (s.solver_iterations > kMaxSolverIterations)
    note(world, at, "scene_solver_iterations",
         "scene_solver_iterations above " + std::to_string(kMaxSolverIterations) + " counts as " +
             std::to_string(kMaxSolverIterations));
  if (isFinite(s.gravity)) {
    cpSpaceSetGravity(world.space, s.gravity);
  } else {
    note(world, at, "scene_gravity", "a gravity that is not finite keeps 0 0");
  }
  if (std::isfinite(s.damping) && s.damping >= 0.0f) {
    cpSpaceSetDamping(world.space, s.damping);
  } else {
    note(world, at, "scene_damping",
         "scene_damping " + formatNumber(s.damping) + " keeps the default 1");
  }
  // Fewer passes or steps when a tick would cost too much; the library keeps its 10 passes
  // for a count of 0 or below.
  const TickWork work =
      limitTickWork(s.step_iterations, s.solver_iterations, stepLoad(world.counts));
  world.limits.tick_work = work.limited;
  world.substeps = std::min(work.substeps, kMaxSubsteps);
  if (work.solver_iterations > 0)
    cpSpaceSetIterations(world.space, std::min(work.solver_iterations, kMaxSolverIterations));
}

std::string notMovingText(const SceneObject& object, const char* role) {
  const std::string name = "'" + object.name + "'";
  if (!hasBody(object))
    return std::string("its ") + role + " " + name + " is static, and a joint needs a moving one";
  return std::string("its ") + role + " " + name +
         " was never built (a later object took its name, or it was left out)";
}

std::string ropeEndsText(const SceneRope& rope) { return endsText(rope.obj_a, rope.obj_b); }

std::unique_ptr<World> buildWorld(std::shared_ptr<const Scene> scene) {
  auto world = std::make_unique<World>();
  world->scene = scene;
  world->objects.resize(scene->object_store.size());
  world->ropes.resize(scene->ropes.size());
  world->joints.resize(scene->joints.size());
  world->limits.meshes = scene->meshes_cut;
  limitDrawnMeshes(*world);
  for (const auto& [name, object] : scene->objects) buildObject(*world, *object);
  for (size_t i = 0; i < scene->ropes.size(); ++i)
    if (roomForItem(world->counts, world->limits))
      buildRope(*world, *scene->ropes[i], world->ropes[i]);
  for (size_t i = 0; i < scene->joints.size(); ++i)
    buildJoint(*world, *scene->joints[i], world->joints[i]);
  applySettings(*world, scene->settings);
  return world;
}
