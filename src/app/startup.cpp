#include "app/startup.h"

#include <GL/glut.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>

#include "app/args.h"
#include "app/frame_loop.h"
#include "app/mouse.h"
#include "app/state.h"
#include "render/frame.h"
#include "world/physics.h"

namespace {

const char kWindowTitle[] = "Quillmoor -- Made by Velkori | https://velkori.example.com/";

}  // namespace

void prepareOutput() { std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ); }

void steadyHeap() { mallopt(M_MMAP_THRESHOLD, 32 << 20); }

void openWindow(int* argc, char** argv, int width, int height) {
  steadyHeap();
  glutInit(argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
  glutInitWindowSize(width, height);
  glutCreateWindow(kWindowTitle);
  createGlowChain(g_app.glow);
  initGlState();
  glutDisplayFunc(onDisplay);
  glutKeyboardFunc(onKeyboard);
  glutTimerFunc(1, onTimer, 0);
  glutPassiveMotionFunc(onPassiveMotion);
}

void startWorld(AppState& app) {
  initPhysics();
  resetScene(app);
}

void startViewer(int* argc, char** argv) {
  prepareOutput();
  openWindow(argc, argv, kWorldWidth, kWorldHeight);
  const Arguments args = readArguments(*argc, argv, g_app.options.scene_file);
  if (args.fullscreen) glutFullScreen();
  if (args.help_option) {
    printUsage(args.help_option);
    std::exit(0);
  }
  ViewOptions& options = g_app.options;
  options.scene_file = args.scene_file;
  options.fullscreen = args.fullscreen;
  options.debug = args.debug;
  options.stats = args.stats;
  options.interactive = args.interactive;
  if (args.interactive) {
    glutMouseFunc(onMouse);
    glutMotionFunc(onMotion);
  }
  if (args.watch) prepareWatch(g_app);
  g_app.stats_window.start = nowSeconds();
  startWorld(g_app);
  if (args.watch) armWatchTimer();
}
