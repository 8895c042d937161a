#include "app/frame_loop.h"

#include <GL/glut.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/inspector.h"
#include "app/mouse.h"
#include "render/debug_draw.h"
#include "render/frame.h"
#include "render/overlay.h"
#include "world/grab.h"
#include "world/load_scene.h"
#include "world/physics.h"

namespace {

float scrollerScale(const Poses& poses) {
  return poses.scene ? poses.scene->settings.scroller_text_scale : 1.0f;
}

void takePoses(AppState& app) { capturePoses(*app.worker.world(), app.poses); }

// A tick the workbench holds back: the world as it stands (a step beside the last frame has
// ended), the scroller moved.
void idleTick(AppState& app) {
  takePoses(app);
  scrollAndRedraw(app, planTick(*app.worker.world()));
}

}  // namespace

TickPlan planTick(const World& world) {
  TickPlan plan;
  plan.fps = world.fps;
  // A very low rate would give a delay beyond the timer's range.
  plan.delay_ms = static_cast<unsigned>(std::min(std::trunc(1000.0 / plan.fps), double{INT_MAX}));
  plan.substeps = world.substeps;
  plan.dt = plan.substeps > 0 ? (1.0 / plan.fps) / plan.substeps : 0.0;
  plan.scroller_speed = world.scene ? world.scene->settings.scroller_text_speed : 0.0f;
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
  app.findings = Reporter{};
  app.findings.collect = app.options.watch;
  // Built before the previous world goes, which nothing refers to any more.
  app.worker.replace(loadWorld(app.options.scene_file, app.findings));
  const Scene* scene = app.worker.world()->scene.get();
  app.scroller.text = scene ? scene->settings.scroller_text : "";
  takePoses(app);
}

void releaseWorld(AppState& app) {
  finishStep(app);
  app.poses = Poses{};
  app.worker.replace(nullptr);
}

void resetScene(AppState& app) {
  resetWorld(app);
  measureScrollerText(app.scroller, scrollerScale(app.poses));
  glutSetCursor(cursorFor(app.poses.scene.get(), app.options.fullscreen));
  reportReset(app);
}

void tick(AppState& app) {
  World& world = *app.worker.world();
  const TickPlan plan = planTick(world);
  if (holding(world)) moveGrab(world, app.cursor, 1.0 / plan.fps);
  const double ms = timedStep(world, plan.substeps, plan.dt);
  if (app.options.stats) addTickSample(app.stats_window, ms);
  takePoses(app);
  scrollAndRedraw(app, plan);
}

void pacedTick(AppState& app) {
  if (app.options.interactive && !stepsThisTick(app.pace)) return idleTick(app);
  tick(app);
}

TickPlan startStep(AppState& app) {
  finishStep(app);
  World& world = *app.worker.world();
  const TickPlan plan = planTick(world);
  if (holding(world)) moveGrab(world, app.cursor, 1.0 / plan.fps);
  takePoses(app);
  app.worker.start(plan.substeps, plan.dt);
  return plan;
}

void finishStep(AppState& app) {
  const double ms = app.worker.finish();
  if (ms < 0.0) return;
  if (app.options.stats) addTickSample(app.stats_window, ms);
  for (const cpVect& point : app.queued_pushes) pushAt(app, point);
  app.queued_pushes.clear();
}

void scrollAndRedraw(AppState& app, const TickPlan& plan) {
  if (advanceScroller(app.scroller, plan.scroller_speed, plan.fps))
    measureScrollerText(app.scroller, scrollerScale(app.poses));
  glutPostRedisplay();
}

void drawCurrentFrame(AppState& app) {
  drawFrame(app.poses, app.scroller, app.glow, app.view);
  // The debug view draws from the space itself, which only the plain tick leaves idle.
  if (app.options.debug) drawPhysicsDebug(*app.worker.world(), app.view);
  if (!app.options.interactive) return;
  if (app.inspector)
    drawTextPanel(inspectorLines(*app.worker.world(), app.previous_mouse), Corner::TopLeft);
  if (app.help) drawTextPanel(helpLines(), Corner::TopRight);
  if (const std::string status = statusLine(app); !status.empty())
    drawTextPanel({status}, Corner::BottomLeft);
}

void reportStats(AppState& app) {
  const double now = nowSeconds();
  if (!app.options.stats || !statsDue(app.stats_window, now)) return;
  const World* world = app.worker.world();
  const std::string line = statsLine(app.stats_window, now, world->fps, countSpace(world->space));
  std::fputs(line.c_str(), stderr);
  app.stats_window = StatsWindow{now};
}

void timerTick(AppState& app) {
  finishStep(app);
  reportStats(app);  // counts the space while nothing steps it
  if (app.options.debug)
    pacedTick(app);
  else if (app.options.interactive && !stepsThisTick(app.pace))
    idleTick(app);
  else
    scrollAndRedraw(app, startStep(app));
}

void keyPressed(AppState& app, unsigned char key) {
  if (key == 27) {
    releaseWorld(app);
    std::exit(0);
  }
  if (key == 'r') resetScene(app);
  if (!app.options.interactive || paceKey(app.pace, key)) return;
  switch (key) {
    case '.':  // one tick now, whatever the speed
      if (app.pace.paused) finishStep(app), tick(app);
      break;
    case '0': app.view = View{}; break;
    case 'd': app.options.debug = !app.options.debug; break;
    case 'i': app.inspector = !app.inspector; break;
    case 'h': app.help = !app.help; break;
  }
  glutPostRedisplay();
}

void display(AppState& app) {
  const double start = nowSeconds();
  drawCurrentFrame(app);
  glutSwapBuffers();  // the driver finishes the frame here
  if (app.options.stats) addFrameSample(app.stats_window, (nowSeconds() - start) * 1e3);
}

void onDisplay() { display(g_app); }

void onKeyboard(unsigned char key, int, int) { keyPressed(g_app, key); }

void onTimer(int) {
  // Re-armed first, so the time spent stepping does not lengthen the period.
  glutTimerFunc(planTick(*g_app.worker.world()).delay_ms, onTimer, 0);
  timerTick(g_app);
}
