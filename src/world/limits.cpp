#include "world/limits.h"

#include <chipmunk/chipmunk_structs.h>

#include <algorithm>
#include <cmath>

#include "scene/scene.h"
#include "world/physics.h"

TickWork limitTickWork(int substeps, int solver_iterations, double load) {
  TickWork work{substeps, solver_iterations, false};
  if (substeps <= 0 || load <= 0.0) return work;
  const int steps = std::min(substeps, kMaxSubsteps);
  const int passes = solver_iterations > 0 ? std::min(solver_iterations, kMaxSolverIterations) : 10;
  if (steps * (passes * load) <= kMaxTickWork) return work;
  work.limited = true;
  work.solver_iterations = std::max(1, static_cast<int>(std::floor(kMaxTickWork / (steps * load))));
  if (work.solver_iterations > passes) work.solver_iterations = passes;
  if (steps * (work.solver_iterations * load) > kMaxTickWork)
    work.substeps = std::max(1, static_cast<int>(std::floor(kMaxTickWork / load)));
  return work;
}

bool limitSettings(SceneSettings& settings, double load) {
  const TickWork work = limitTickWork(settings.step_iterations, settings.solver_iterations, load);
  settings.step_iterations = work.substeps;
  settings.solver_iterations = work.solver_iterations;
  return work.limited;
}

size_t spaceConstraints(cpSpace* space) { return static_cast<size_t>(space->constraints->num); }

size_t movingShapes(cpSpace* space) {
  return static_cast<size_t>(cpSpatialIndexCount(space->dynamicShapes));
}

size_t spaceItems(cpSpace* space) {
  return static_cast<size_t>(space->dynamicBodies->num) + spaceConstraints(space) +
         static_cast<size_t>(cpSpatialIndexCount(space->dynamicShapes) +
                             cpSpatialIndexCount(space->staticShapes));
}

namespace {

struct OverlapCount {
  cpSpace* space;
  cpBody* body;
  size_t stop;
  size_t count = 0;
};

}  // namespace

size_t countOverlaps(cpSpace* space, cpBody* body, size_t stop) {
  OverlapCount counting{space, body, stop};
  cpBodyEachShape(
      body,
      [](cpBody*, cpShape* shape, void* data) {
        auto& c = *static_cast<OverlapCount*>(data);
        if (c.count > c.stop) return;
        cpSpaceBBQuery(
            c.space, cpShapeGetBB(shape), CP_SHAPE_FILTER_ALL,
            [](cpShape* other, void* data) {
              auto& c = *static_cast<OverlapCount*>(data);
              if (cpShapeGetBody(other) != c.body) ++c.count;
            },
            data);
      },
      &counting);
  return std::min(counting.count, stop);
}

void removeBody(cpSpace* space, cpBody* body) {
  std::vector<cpShape*> shapes;
  cpBodyEachShape(
      body,
      [](cpBody*, cpShape* shape, void* list) {
        static_cast<std::vector<cpShape*>*>(list)->push_back(shape);
      },
      &shapes);
  for (cpShape* shape : shapes) {
    cpSpaceRemoveShape(space, shape);
    cpShapeFree(shape);
  }
  cpSpaceRemoveBody(space, body);
  cpBodyFree(body);
}

std::vector<std::string> limitMessages(const LimitsMet& met) {
  std::vector<std::string> lines;
  if (met.triangles)
    lines.push_back("moving objects were built with only their first " +
                    std::to_string(kMaxMovingTriangles) + " collision triangles");
  if (met.items)
    lines.push_back("the scene was cut off at " + std::to_string(kMaxSceneItems) +
                    " bodies, shapes and joints");
  if (met.overlaps)
    lines.push_back("moving objects starting in more than " + std::to_string(kMaxStartOverlaps) +
                    " overlapping shape pairs were left out");
  if (met.tick_work) lines.push_back("solver passes or steps per tick were lowered");
  return lines;
}
