// The few GLUT calls the viewer makes, over the page's canvas: the window is the canvas, a
// timer is a browser timeout, and a redisplay waits for the next animation frame.
#include <GL/glut.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <vector>

#include "gl1.h"
#include "page_loop.h"

namespace {

struct Timer {
  void (*callback)(int);
  int value;
};

struct Window {
  int width = 300, height = 300;
  void (*display)() = nullptr;
  bool redisplay = false;
  bool running = true;
  std::vector<Timer> held;  // timers that came due while the page held the clock
};

Window& window() {
  static Window w;
  return w;
}

void fire(void* data) {
  Timer* timer = static_cast<Timer*>(data);
  if (!window().running || !timersMayRun()) {
    window().held.push_back(*timer);
  } else {
    timer->callback(timer->value);
  }
  delete timer;
}

void frame() {
  Window& w = window();
  if (!w.redisplay || !w.display) return;
  w.redisplay = false;
  w.display();
}

}  // namespace

void setClockRunning(bool running) {
  Window& w = window();
  w.running = running;
  if (!running) return;
  for (const Timer& timer : w.held) emscripten_async_call(fire, new Timer(timer), 0);
  w.held.clear();
}

void drawNow() {
  if (window().display) window().display();
}

extern "C" {

void glutInit(int*, char**) {}
void glutInitDisplayMode(unsigned int) {}
void glutInitErrorFunc(void (*)(const char*, va_list)) {}

void glutInitWindowSize(int width, int height) {
  window().width = width;
  window().height = height;
}

int glutCreateWindow(const char*) {
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.alpha = false;
  attributes.depth = false;
  attributes.preserveDrawingBuffer = true;  // tests read the picture back
  emscripten_set_canvas_element_size("#canvas", window().width, window().height);
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
      emscripten_webgl_create_context("#canvas", &attributes);
  emscripten_webgl_make_context_current(context);
  qmInit();
  qmViewport(0, 0, window().width, window().height);
  emscripten_set_main_loop(frame, 0, 0);
  return 1;
}

void glutDisplayFunc(void (*display)()) { window().display = display; }
void glutKeyboardFunc(void (*)(unsigned char, int, int)) {}  // keys come from the page
void glutPassiveMotionFunc(void (*)(int, int)) {}
void glutMouseFunc(void (*)(int, int, int, int)) {}
void glutMotionFunc(void (*)(int, int)) {}
void glutSetCursor(int) {}
void glutFullScreen() {}
void glutSwapBuffers() { qmFinish(); }
void glutPostRedisplay() { window().redisplay = true; }

void glutTimerFunc(unsigned int ms, void (*callback)(int), int value) {
  emscripten_async_call(fire, new Timer{callback, value}, static_cast<int>(ms));
}

int glutGet(GLenum what) {
  switch (what) {
    case GLUT_WINDOW_WIDTH: return window().width;
    case GLUT_WINDOW_HEIGHT: return window().height;
    case GLUT_ELAPSED_TIME: return static_cast<int>(emscripten_get_now());
    default: return 0;
  }
}

void glutMainLoop() {}

}  // extern "C"
