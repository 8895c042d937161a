#pragma once
// The viewer's --stats report: once a second, on standard error, whether the scene keeps up.
#include <chipmunk/chipmunk.h>

#include <string>

// Samples since the last report.
struct StatsWindow {
  double start = 0.0;  // seconds on the steady clock when the window opened
  int ticks = 0;
  double physics_ms = 0.0;  // summed over the ticks
  double worst_physics_ms = 0.0;
  int frames = 0;
  double drawing_ms = 0.0;  // summed over the frames
};

struct SpaceCounts {
  int bodies = 0, shapes = 0, constraints = 0;
};

// Seconds on a steady clock.
double nowSeconds();

void addTickSample(StatsWindow& window, double physics_ms);
void addFrameSample(StatsWindow& window, double drawing_ms);

// True once a whole second has passed since the window opened.
bool statsDue(const StatsWindow& window, double now);

// The report line, newline included, for the window closing at `now`.
std::string statsLine(const StatsWindow& window, double now, float asked_fps,
                      const SpaceCounts& counts);

// Everything in the space, static bodies and shapes included.
SpaceCounts countSpace(cpSpace* space);
