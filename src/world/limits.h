#pragma once
// How much work a scene file may ask for. A few kilobytes of text can declare millions of
// bodies, overlapping shapes or solver passes; these limits keep every scene below about
// 2 GB of memory and a second per tick on a two-core machine, and no real scene meets them.
#include <chipmunk/chipmunk.h>

#include <cstddef>
#include <string>
#include <vector>

struct SceneSettings;

// Collision triangles one moving object is built with; the rest are left out. The library
// keeps a pair for every two overlapping shapes of one body, so memory grows with the
// square of this (1000 overlapping triangles: about 120 MB).
constexpr size_t kMaxMovingTriangles = 1000;

// Bodies, shapes and joints one scene builds; once reached, the remaining objects, ropes and
// joints are left out (at most one rope's worth more is built).
constexpr size_t kMaxSceneItems = 100000;

// Overlapping shape pairs a moving object may start in, summed over the scene; an object that
// would pass it is left out. A step costs about 2 microseconds per overlapping pair (1000
// moving triangles stacked at one point: 0.5 million pairs, 1 s and 330 MB per step).
constexpr size_t kMaxStartOverlaps = 100000;

// Physics work of one tick: steps x solver passes x (joints + moving shapes + overlaps).
// Scenes asking for more get fewer solver passes, then fewer steps.
constexpr double kMaxTickWork = 2e7;

// What a load had to cut; each is reported once per load.
struct LimitsMet {
  bool triangles = false;
  bool items = false;
  bool overlaps = false;
  bool tick_work = false;
};

struct TickWork {
  int substeps;
  int solver_iterations;
  bool limited;
};

// Fewer solver passes, then fewer steps, so that steps x passes x load stays within
// kMaxTickWork. Counts of 0 or below mean no steps / the library's default of 10 passes.
TickWork limitTickWork(int substeps, int solver_iterations, double load);

// Bodies, shapes and constraints in the space.
size_t spaceItems(cpSpace* space);
size_t spaceConstraints(cpSpace* space);
size_t movingShapes(cpSpace* space);

// How many shapes of other bodies overlap the shapes of `body`, counting up to `stop`.
size_t countOverlaps(cpSpace* space, cpBody* body, size_t stop);

// Takes a moving body out of the space and frees it with its shapes.
void removeBody(cpSpace* space, cpBody* body);

// Lowers the settings' step and solver counts as limitTickWork decides.
bool limitSettings(SceneSettings& settings, double load);

// One plain line per limit met, for standard error and for the scene checker.
std::vector<std::string> limitMessages(const LimitsMet& met);
