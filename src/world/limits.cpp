#include "world/limits.h"

#include <algorithm>
#include <cmath>

#include "world/physics.h"

namespace {

bool moving(cpShape* shape) { return cpBodyGetType(cpShapeGetBody(shape)) != CP_BODY_TYPE_STATIC; }

struct OverlapQuery {
  cpShape* shape;
  size_t moving = 0, fixed = 0;
};

}  // namespace

bool roomForItem(const BuildCounts& counts, LimitsMet& met) {
  if (counts.items() < kMaxSceneItems) return true;
  met.items = true;
  return false;
}

bool admitShape(cpSpace* space, cpShape* shape, BuildCounts& counts, LimitsMet& met) {
  if (met.overlaps || !roomForItem(counts, met)) return false;
  OverlapQuery query{shape};
  cpSpaceBBQuery(
      space, cpShapeCacheBB(shape), CP_SHAPE_FILTER_ALL,
      [](cpShape* other, void* data) {
        auto& q = *static_cast<OverlapQuery*>(data);
        ++(moving(q.shape) || moving(other) ? q.moving : q.fixed);
      },
      &query);
  counts.moving_overlaps += query.moving;
  counts.static_overlaps += query.fixed;
  if (counts.moving_overlaps > kMaxMovingOverlaps || counts.static_overlaps > kMaxStaticOverlaps)
    met.overlaps = true;
  return !met.overlaps;
}

StepLoad stepLoad(const BuildCounts& counts) {
  const double joints = static_cast<double>(counts.constraints);
  const double shapes = static_cast<double>(counts.moving_shapes);
  const double bodies = static_cast<double>(counts.moving_bodies);
  const double overlaps = static_cast<double>(counts.moving_overlaps);
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
