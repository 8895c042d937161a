#include "app/stats.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

double nowSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void addTickSample(StatsWindow& window, double physics_ms) {
  ++window.ticks;
  window.physics_ms += physics_ms;
  window.worst_physics_ms = std::max(window.worst_physics_ms, physics_ms);
}

void addFrameSample(StatsWindow& window, double drawing_ms) {
  ++window.frames;
  window.drawing_ms += drawing_ms;
}

bool statsDue(const StatsWindow& window, double now) { return now - window.start >= 1.0; }

std::string statsLine(const StatsWindow& window, double now, float asked_fps,
                      const SpaceCounts& counts) {
  const double seconds = now - window.start;
  char line[256];
  std::snprintf(line, sizeof line,
                "stats: %.1f ticks/s (asked %.1f), physics %.2f ms mean %.2f ms worst, drawing "
                "%.2f ms/frame, %d bodies, %d shapes, %d constraints\n",
                seconds > 0 ? window.ticks / seconds : 0.0, asked_fps,
                window.ticks ? window.physics_ms / window.ticks : 0.0, window.worst_physics_ms,
                window.frames ? window.drawing_ms / window.frames : 0.0, counts.bodies,
                counts.shapes, counts.constraints);
  return line;
}

SpaceCounts countSpace(cpSpace* space) {
  SpaceCounts counts;
  if (!space) return counts;
  cpSpaceEachBody(
      space, [](cpBody*, void* c) { ++static_cast<SpaceCounts*>(c)->bodies; }, &counts);
  cpSpaceEachShape(
      space, [](cpShape*, void* c) { ++static_cast<SpaceCounts*>(c)->shapes; }, &counts);
  cpSpaceEachConstraint(
      space, [](cpConstraint*, void* c) { ++static_cast<SpaceCounts*>(c)->constraints; }, &counts);
  return counts;
}
