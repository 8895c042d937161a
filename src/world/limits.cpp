#include "world/limits.h"

#include <chipmunk/chipmunk_structs.h>

#include <algorithm>
#include <cmath>

#include "scene/scene.h"
#include "world/mesh.h"
#include "world/physics.h"

namespace {

size_t count(cpSpatialIndex* index) { return static_cast<size_t>(cpSpatialIndexCount(index)); }

size_t spaceItems(cpSpace* space) {
  return static_cast<size_t>(space->dynamicBodies->num + space->constraints->num) +
         count(space->dynamicShapes) + count(space->staticShapes);
}

bool moving(cpShape* shape) { return cpBodyGetType(cpShapeGetBody(shape)) != CP_BODY_TYPE_STATIC; }

struct OverlapQuery {
  cpShape* shape;
  size_t moving = 0, fixed = 0;
};

}  // namespace

bool roomForItem(cpSpace* space, BuildBudget& budget) {
  if (spaceItems(space) < kMaxSceneItems) return true;
  budget.met.items = true;
  return false;
}

bool admitShape(cpSpace* space, cpShape* shape, BuildBudget& budget) {
  if (budget.met.overlaps || !roomForItem(space, budget)) return false;
  OverlapQuery query{shape};
  cpSpaceBBQuery(
      space, cpShapeCacheBB(shape), CP_SHAPE_FILTER_ALL,
      [](cpShape* other, void* data) {
        auto& q = *static_cast<OverlapQuery*>(data);
        ++(moving(q.shape) || moving(other) ? q.moving : q.fixed);
      },
      &query);
  budget.moving_overlaps += query.moving;
  budget.static_overlaps += query.fixed;
  if (budget.moving_overlaps > kMaxMovingOverlaps || budget.static_overlaps > kMaxStaticOverlaps)
    budget.met.overlaps = true;
  return !budget.met.overlaps;
}

StepLoad stepLoad(cpSpace* space, size_t moving_overlaps) {
  const double joints = space->constraints->num;
  const double shapes = static_cast<double>(count(space->dynamicShapes));
  const double bodies = space->dynamicBodies->num;
  const double overlaps = static_cast<double>(moving_overlaps);
  return {joints + 16.0 * overlaps + 4.0 * shapes, 64.0 * bodies + 128.0 * overlaps};
}

TickWork limitTickWork(int substeps, int solver_iterations, StepLoad load) {
  TickWork work{substeps, solver_iterations, false};
  if (substeps <= 0) return work;
  const int steps = std::min(substeps, kMaxSubsteps);
  const int passes = solver_iterations > 0 ? std::min(solver_iterations, kMaxSolverIterations) : 10;
  auto cost = [&](int n_steps, int n_passes) {
    return n_steps * (n_passes * load.per_pass + load.per_step);
  };
  if (cost(steps, passes) <= kMaxTickWork) return work;
  work.limited = true;
  work.solver_iterations = passes;
  if (load.per_pass > 0.0) {
    const double room = std::floor((kMaxTickWork / steps - load.per_step) / load.per_pass);
    work.solver_iterations = room < 1.0 ? 1 : static_cast<int>(std::min(room, 1.0 * passes));
  }
  if (cost(steps, work.solver_iterations) > kMaxTickWork)
    work.substeps = static_cast<int>(std::max(
        1.0, std::floor(kMaxTickWork / (work.solver_iterations * load.per_pass + load.per_step))));
  return work;
}

bool limitSettings(SceneSettings& settings, StepLoad load) {
  const TickWork work = limitTickWork(settings.step_iterations, settings.solver_iterations, load);
  settings.step_iterations = work.substeps;
  settings.solver_iterations = work.solver_iterations;
  return work.limited;
}

bool limitDrawnMeshes(Scene& scene) {
  size_t drawn = 0;
  bool limited = false;
  for (auto& [name, object] : scene.objects) {
    if (!object->mesh) continue;
    const size_t count = object->mesh->triangles.size();
    if (count > kMaxDrawnTriangles - drawn) {
      object->mesh = nullptr;
      limited = true;
    } else {
      drawn += count;
    }
  }
  return limited;
}

std::vector<std::string> limitMessages(const LimitsMet& met) {
  std::vector<std::string> lines;
  if (met.meshes)
    lines.push_back("mesh files beyond " + std::to_string(kMaxMeshItems) +
                    " vertices and triangles were not read");
  if (met.drawn)
    lines.push_back("meshes beyond " + std::to_string(kMaxDrawnTriangles) +
                    " drawn triangles were left undrawn");
  if (met.triangles)
    lines.push_back("moving objects were built with only their first " +
                    std::to_string(kMaxMovingTriangles) + " collision triangles");
  if (met.items)
    lines.push_back("the scene was cut off at " + std::to_string(kMaxSceneItems) +
                    " bodies, shapes and joints");
  if (met.overlaps)
    lines.push_back("collision shapes were left out once " + std::to_string(kMaxMovingOverlaps) +
                    " moving or " + std::to_string(kMaxStaticOverlaps) +
                    " static overlapping pairs were passed");
  if (met.tick_work) lines.push_back("solver passes or steps per tick were lowered");
  return lines;
}
