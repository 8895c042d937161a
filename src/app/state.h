#pragma once
// The process-wide state, one of each, used only on the event-loop thread.
#include <chipmunk/chipmunk.h>

#include <memory>

#include "app/stats.h"
#include "app/watch.h"
#include "render/glow.h"
#include "render/scroller.h"
#include "scene/diagnostics.h"
#include "scene/scene.h"

struct AppState {
  const char* scene_file = "scene.txt";  // refers to the command line's text
  bool fullscreen = false;
  cpSpace* space = nullptr;      // once the first reset has run there always is one
  std::unique_ptr<Scene> scene;  // nullptr while the scene file cannot be opened
  Scroller scroller;
  Glow glow;
  bool stats = false;  // --stats given
  StatsWindow stats_window;
  cpVect previous_mouse = {0.0, 0.0};  // world point of the last passive motion; kept across resets
  bool debug = false;                  // draw the physics over the picture
  // With --watch only: what the last reset found, and the files it opened or tried to open.
  std::unique_ptr<Diagnostics> diagnostics;
  Watch watch;
};

extern AppState g_app;
