#pragma once
// The process-wide state, one of each, used only on the event-loop thread (a step the viewer
// runs alongside the frame touches only the space, and nothing else touches it meanwhile).
#include <chipmunk/chipmunk.h>

#include <future>
#include <memory>
#include <vector>

#include "app/stats.h"
#include "app/watch.h"
#include "render/draw_objects.h"
#include "render/glow.h"
#include "render/scroller.h"
#include "scene/diagnostics.h"
#include "scene/scene.h"

struct AppState {
  const char* scene_file = "scene.txt";  // refers to the command line's text
  bool fullscreen = false;
  cpSpace* space = nullptr;      // once the first reset has run there always is one
  std::unique_ptr<Scene> scene;  // nullptr while the scene file cannot be opened
  Poses poses;                   // what the next frame draws
  Scroller scroller;
  Glow glow;
  bool stats = false;  // --stats given
  StatsWindow stats_window;
  cpVect previous_mouse = {0.0, 0.0};  // world point of the last passive motion; kept across resets
  bool debug = false;                  // draw the physics over the picture
  // With --watch only: what the last reset found, and the files it opened or tried to open.
  std::unique_ptr<Diagnostics> diagnostics;
  Watch watch;
  std::vector<cpVect> queued_pushes;  // mouse points that arrived during the step
  // The step running alongside the frame, valid until finished; it yields the step's
  // milliseconds. Last, so that at exit it is waited for before anything it uses goes.
  std::future<double> stepping;
};

extern AppState g_app;
