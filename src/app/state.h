#pragma once
// The process-wide state, one of each, used only on the event-loop thread; the world inside the
// step worker is reached only through it.
#include <chipmunk/chipmunk.h>

#include <vector>

#include "app/stats.h"
#include "app/step_worker.h"
#include "app/watch.h"
#include "app/workbench.h"
#include "render/draw_objects.h"
#include "render/glow.h"
#include "render/scroller.h"
#include "render/view.h"
#include "scene/report.h"

// What the command line asked for.
struct ViewOptions {
  const char* scene_file = "scene.txt";  // refers to the command line's text
  bool fullscreen = false;
  bool debug = false;  // draw the physics over the picture; steps before drawing
  bool stats = false;  // a report on standard error once a second
  bool watch = false;  // reload on changes; every reset collects diagnostics
  bool interactive = false;  // the workbench's keys and mouse buttons
};

struct AppState {
  ViewOptions options;
  StepWorker worker;  // the current world: once the first reset has run there always is one
  Poses poses;        // what the next frame draws
  Scroller scroller;
  Glow glow;
  cpVect previous_mouse = {0.0, 0.0};  // world point of the last passive motion; kept across resets
  std::vector<cpVect> queued_pushes;   // mouse points that arrived during a step
  StatsWindow stats_window;
  Reporter findings;  // what the last reset said (diagnostics only with options.watch)
  Watch watch;
  // The workbench (options.interactive): its pace, view, pointer and panels.
  Pace pace;
  View view;
  cpVect cursor = {0.0, 0.0};  // world point of the last motion with a button held
  bool panning = false;
  int pan_x = 0, pan_y = 0;  // window pixel the pan last moved from
  bool inspector = false, help = false;
};

extern AppState g_app;
