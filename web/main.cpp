// The viewer in a page: the desktop's start-up, ticks, input and drawing, reached from the
// page's script through the qm_* functions instead of from a window's events.
#include <GL/glut.h>
#include <emscripten/emscripten.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/frame_loop.h"
#include "app/mouse.h"
#include "app/startup.h"
#include "app/state.h"
#include "page_loop.h"
#include "render/frame.h"
#include "world/grab.h"
#include "world/load_scene.h"
#include "world/physics.h"
#include "world/state_json.h"

namespace {

constexpr int kCanvasWidth = 1024, kCanvasHeight = 768;

// Strings handed back to the page stay alive until the next call that returns one.
const char* handBack(std::string text) {
  static std::string kept;
  kept = std::move(text);
  return kept.c_str();
}

// The window and the physics, once. The page's script may call in before main() runs (its
// runtime-ready hook comes first), so whatever builds a world starts them itself.
void start() {
  static bool started = false;
  if (started) return;
  started = true;
  int argc = 1;
  char name[] = "quillmoor";
  char* argv[] = {name, nullptr};
  openWindow(&argc, argv, kCanvasWidth, kCanvasHeight);
  initPhysics();
}

}  // namespace

bool timersMayRun() { return g_app.worker.world() != nullptr; }

extern "C" {

// Opens FOLDER's scene.txt as the viewer's `r` does; 1 when the scene file was read.
EMSCRIPTEN_KEEPALIVE int qm_open(const char* folder) {
  start();
  if (chdir(folder) != 0) return 0;
  g_app.options.scene_file = "scene.txt";
  const bool first = g_app.worker.world() == nullptr;
  resetScene(g_app);
  if (first) setClockRunning(true);
  glutPostRedisplay();
  return g_app.poses.scene ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void qm_reload() {
  if (g_app.worker.world()) resetScene(g_app);
}

// What quillmoor-check prints for FOLDER/scene.txt; the running world is left alone.
EMSCRIPTEN_KEEPALIVE const char* qm_check(const char* folder) {
  start();
  char* here = getcwd(nullptr, 0);
  std::string text;
  if (chdir(folder) == 0) {
    Reporter report;
    report.print = false;
    report.collect = true;
    if (!loadWorld("scene.txt", report)->scene) {
      text = "quillmoor-check: cannot read the scene file 'scene.txt'\n";
    } else {
      char* buffer = nullptr;
      size_t size = 0;
      if (FILE* out = open_memstream(&buffer, &size)) {
        printDiagnostics(report, out);
        std::fclose(out);
        text.assign(buffer, size);
      }
      std::free(buffer);
    }
  }
  if (here) chdir(here);
  std::free(here);
  return handBack(text);
}

EMSCRIPTEN_KEEPALIVE void qm_key(int key) {
  if (key == 27 || !g_app.worker.world()) return;  // there is no window to close
  keyPressed(g_app, static_cast<unsigned char>(key));
}

// kind: 0 motion with no button held, 1 button down, 2 button up, 3 motion with a button held.
EMSCRIPTEN_KEEPALIVE void qm_mouse(int kind, int button, int x, int y) {
  if (!g_app.worker.world()) return;
  switch (kind) {
    case 0: onPassiveMotion(x, y); break;
    case 1: onMouse(button, GLUT_DOWN, x, y); break;
    case 2: onMouse(button, GLUT_UP, x, y); break;
    case 3: onMotion(x, y); break;
  }
}

EMSCRIPTEN_KEEPALIVE void qm_set_workbench(int on) {
  if (g_app.options.interactive == (on != 0)) return;
  // Leaving the workbench leaves nothing of it behind: no grab, pause, zoom or panel.
  if (World* world = g_app.worker.world(); world && holding(*world)) releaseGrab(*world);
  g_app.options.interactive = on != 0;
  g_app.pace = Pace{};
  g_app.view = View{};
  g_app.panning = false;
  g_app.inspector = g_app.help = false;
  g_app.options.debug = false;
  glutPostRedisplay();
}

EMSCRIPTEN_KEEPALIVE void qm_set_running(int on) { setClockRunning(on != 0); }

// N ticks at once, as quillmoor-snapshot's --ticks does them, then the frame drawn.
EMSCRIPTEN_KEEPALIVE void qm_advance(int ticks) {
  if (!g_app.worker.world()) return;
  for (int i = 0; i < ticks; ++i) pacedTick(g_app);
  drawNow();
}

EMSCRIPTEN_KEEPALIVE const char* qm_state() {
  const World* world = g_app.worker.world();
  return handBack(world ? stateJson(*world) : stateJson(World()));
}

EMSCRIPTEN_KEEPALIVE int qm_ticks() {
  const World* world = g_app.worker.world();
  return world ? static_cast<int>(world->ticks) : 0;
}

}  // extern "C"

int main() {
  start();
  return 0;
}
