#pragma once
// The process-wide state, one of each, used only on the event-loop thread.
#include <chipmunk/chipmunk.h>

#include <memory>

#include "app/stats.h"
#include "render/glow.h"
#include "render/scroller.h"
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
};

extern AppState g_app;
