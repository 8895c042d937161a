#pragma once
// How much work a scene file may ask for. A few kilobytes of text can declare millions of
// bodies, overlapping shapes or solver passes; these limits keep every scene file under 1 MB
// below 2 GB of memory and about a second per tick on a two-core machine, and no real scene
// meets them. Each limit met is reported once per load (see limitMessages).
#include <chipmunk/chipmunk.h>

#include <cstddef>
#include <string>
#include <vector>

// Vertices and triangles of all meshes one scene reads; once passed, further mesh files are
// not read (they stay undrawn and without collision). Every distinct spelling of a path reads
// its file again: 300 spellings of a 1 MB OBJ took 3.5 GB. About 50 bytes each.
constexpr size_t kMaxMeshItems = 4000000;

// Collision triangles one moving object is built with; the rest are left out. The library
// keeps a pair for every two overlapping shapes of one body (8000 triangles: 1.85 GB).
constexpr size_t kMaxMovingTriangles = 1000;

// Bodies, shapes and joints one scene builds; once reached, the remaining shapes, objects,
// ropes and joints are left out (a rope is built whole: at most 12288 items more).
constexpr size_t kMaxSceneItems = 100000;

// Overlapping pairs of collision shapes a scene may start with, counted as each shape is
// added against those added before it. Pairs with a moving shape cost about 2 microseconds
// every step (1000 moving triangles stacked at one point: 1 s and 330 MB a step); pairs of
// static shapes only slow the library's index down while building (25,000 stacked static
// lines: 15 s). Once either count is passed, every later collision shape is left out.
constexpr size_t kMaxMovingOverlaps = 100000;
constexpr size_t kMaxStaticOverlaps = 2000000;

// Mesh triangles drawn per frame, summed over the objects in build order; an object whose
// drawn mesh would pass it is not drawn. Drawing is done by the processor under Xvfb at about
// 350,000 triangles a second (a 1 MB OBJ drawn by 200 objects: 142 s and 2.6 GB a frame).
constexpr size_t kMaxDrawnTriangles = 200000;

// Physics work of one tick, in units of one joint visited by one solver pass (about 13 ns
// here): steps x (passes x (joints + 16 x moving overlaps + 4 x moving shapes) + 64 x moving
// bodies + 128 x moving overlaps), weights measured on ropes, grids of bodies and stacks.
// Scenes asking for more get fewer solver passes, then fewer steps (about 0.4 s a tick).
constexpr double kMaxTickWork = 3e7;

// What a build had to cut.
struct LimitsMet {
  bool meshes = false;
  bool drawn = false;
  bool triangles = false;
  bool items = false;
  bool overlaps = false;
  bool tick_work = false;
};

// What a build has added to its space so far, counted as it adds.
struct BuildCounts {
  size_t moving_bodies = 0;
  size_t moving_shapes = 0;
  size_t static_shapes = 0;
  size_t constraints = 0;
  size_t moving_overlaps = 0;
  size_t static_overlaps = 0;
  size_t items() const { return moving_bodies + moving_shapes + static_shapes + constraints; }
};

// Whether a new shape (not yet in the space) may be added: there is room for another item,
// and the overlaps it adds keep within the limits. Counts the overlaps when it may; the
// caller counts the shape once it is added.
bool admitShape(cpSpace* space, cpShape* shape, BuildCounts& counts, LimitsMet& met);

// Whether there is room for another body or joint.
bool roomForItem(const BuildCounts& counts, LimitsMet& met);

// A step's cost in the units of kMaxTickWork: per solver pass, and once per step.
struct StepLoad {
  double per_pass;
  double per_step;
};
StepLoad stepLoad(const BuildCounts& counts);

struct TickWork {
  int substeps;
  int solver_iterations;
  bool limited;
};

// Fewer solver passes, then fewer steps, so that one tick stays within kMaxTickWork.
// Counts of 0 or below mean no steps / the library's default of 10 passes.
TickWork limitTickWork(int substeps, int solver_iterations, StepLoad load);

// One plain line per limit met, for standard error and for a scene checker.
std::vector<std::string> limitMessages(const LimitsMet& met);
