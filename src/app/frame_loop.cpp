#include "app/frame_loop.h"

#include <GL/glut.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/mouse.h"
#include "render/debug_draw.h"
#include "render/frame.h"
#include "world/load_scene.h"
#include "world/physics.h"

namespace {

float scrollerScale(const Scene* scene) {
  return scene ? scene->settings.scroller_text_scale : 1.0f;
}

// One tick's physics; returns its milliseconds.
double timedStep(cpSpace* space, TickPlan plan) {
  const double start = nowSeconds();
  stepSpace(space, plan.substeps, plan.dt);
  return (nowSeconds() - start) * 1e3;
}

void takePoses(AppState& app) {
  if (app.scene) capturePoses(*app.scene, app.poses);
}

void scrollAndRedraw(const TickPlan& plan) {
  if (advanceScroller(g_app.scroller, plan.scroller_speed, plan.fps))
    measureScrollerText(g_app.scroller, scrollerScale(g_app.scene.get()));
  glutPostRedisplay();
}

}  // namespace

float effectiveFps(const Scene* scene) {
  const float fps = scene ? scene->settings.fps : 60.0f;
  return fps > 0.0f && std::isfinite(fps) ? fps : 60.0f;
}

TickPlan planTick(const Scene* scene) {
  TickPlan plan;
  plan.fps = effectiveFps(scene);
  // A very low rate would give a delay beyond the timer's range.
  plan.delay_ms = static_cast<unsigned>(std::min(std::trunc(1000.0 / plan.fps), double{INT_MAX}));
  plan.substeps = std::min(scene ? scene->settings.step_iterations : 1, kMaxSubsteps);
  plan.dt = plan.substeps > 0 ? (1.0 / plan.fps) / plan.substeps : 0.0;
  plan.scroller_speed = scene ? scene->settings.scroller_text_speed : 0.0f;
  return plan;
}

bool advanceScroller(Scroller& scroller, float speed, float fps) {
  scroller.x = scroller.x - speed / fps;
  return scroller.x <= -(scroller.width + 10.0);
}

int cursorFor(const Scene* scene, bool fullscreen) {
  const bool hide = scene && scene->settings.mouse_hide_in_fullscreen && fullscreen;
  return hide ? GLUT_CURSOR_NONE : GLUT_CURSOR_FULL_CROSSHAIR;
}

void resetWorld(AppState& app) {
  finishStep(app);
  cpSpace* previous_space = app.space;
  std::unique_ptr<Scene> previous_scene = std::move(app.scene);
  app.space = newSpace();
  if (app.diagnostics) *app.diagnostics = Diagnostics{};
  app.scene = loadScene(app.scene_file, app.space, app.diagnostics.get());
  // Nothing refers to the previous world any more. Its space goes first: the static body
  // its shapes and joints hang on belongs to the previous scene.
  freeSpace(previous_space);
  previous_scene.reset();
  if (app.scene) {
    applySpaceSettings(app.space, app.scene->settings);
    app.scroller.text = app.scene->settings.scroller_text;
    takePoses(app);
  } else {
    app.scroller.text.clear();
  }
}

void releaseWorld(AppState& app) {
  finishStep(app);
  freeSpace(app.space);  // before the scene, which owns the static body
  app.space = nullptr;
  app.scene.reset();
}

void resetScene() {
  resetWorld(g_app);
  measureScrollerText(g_app.scroller, scrollerScale(g_app.scene.get()));
  glutSetCursor(cursorFor(g_app.scene.get(), g_app.fullscreen));
  reportReset(g_app);
}

void tick() {
  const TickPlan plan = planTick(g_app.scene.get());
  const double ms = timedStep(g_app.space, plan);
  if (g_app.stats) addTickSample(g_app.stats_window, ms);
  takePoses(g_app);
  scrollAndRedraw(plan);
}

TickPlan startStep(AppState& app) {
  finishStep(app);
  const TickPlan plan = planTick(app.scene.get());
  takePoses(app);
  app.stepping = std::async(std::launch::async, timedStep, app.space, plan);
  return plan;
}

void finishStep(AppState& app) {
  if (!app.stepping.valid()) return;
  const double ms = app.stepping.get();
  if (app.stats) addTickSample(app.stats_window, ms);
  for (const cpVect& point : app.queued_pushes) pushAt(app, point);
  app.queued_pushes.clear();
}

void drawCurrentFrame() {
  drawFrame(g_app.scene.get(), g_app.poses, g_app.scroller, g_app.glow);
  if (g_app.debug) drawPhysicsDebug(g_app.space, g_app.scene.get());
}

void onDisplay() {
  const double start = g_app.stats ? nowSeconds() : 0.0;
  drawCurrentFrame();
  glutSwapBuffers();  // the driver finishes the frame here
  if (g_app.stats) addFrameSample(g_app.stats_window, (nowSeconds() - start) * 1e3);
}

void reportStats(AppState& app) {
  const double now = nowSeconds();
  if (!app.stats || !statsDue(app.stats_window, now)) return;
  const std::string line =
      statsLine(app.stats_window, now, effectiveFps(app.scene.get()), countSpace(app.space));
  std::fputs(line.c_str(), stderr);
  app.stats_window = StatsWindow{now};
}

void onKeyboard(unsigned char key, int, int) {
  if (key == 27) std::exit(0);
  if (key == 'r') resetScene();
}

void onTimer(int) {
  // Re-armed first, so the time spent stepping does not lengthen the period.
  glutTimerFunc(planTick(g_app.scene.get()).delay_ms, onTimer, 0);
  finishStep(g_app);
  reportStats(g_app);  // counts the space while nothing steps it
  // The debug view draws from the space itself, so it cannot overlap a step.
  if (g_app.debug)
    tick();
  else
    scrollAndRedraw(startStep(g_app));
}
