#pragma once
// Scene reset, display, keyboard and the timed simulation loop. The GLUT callbacks are one-line
// adapters onto the functions that take the state they use.
#include "app/state.h"

// What one timer tick does, from the current world.
struct TickPlan {
  unsigned delay_ms;  // until the next tick: 1000 / fps, truncated
  int substeps;       // physics steps this tick; none for 0 or below
  double dt;          // length of one substep: (1 / fps) / substeps
  float fps;
  float scroller_speed;  // world units per second, leftwards
};

TickPlan planTick(const World& world);

// Moves the text left by speed / fps. Returns true once its right end is 10 world units
// past the left edge, when it must start again at the right edge.
bool advanceScroller(Scroller& scroller, float speed, float fps);

// GLUT_CURSOR_NONE only when running full-screen with a scene that hides the mouse there.
int cursorFor(const Scene* scene, bool fullscreen);

// The part of the reset that needs no window: the scene file read and built into a new world,
// which replaces the current one, and the scroller text set.
void resetWorld(AppState& app);

// Frees the current world (before exit, so that leak checkers see a clean process).
void releaseWorld(AppState& app);

// The whole reset: resetWorld, then the scroller measured, the cursor set, --watch's report.
void resetScene(AppState& app);

// One tick's work, without re-arming the timer: step, take the poses, scroll, ask for a redraw.
void tick(AppState& app);

// tick, or, when the workbench's pace holds this tick back, the same without the step.
void pacedTick(AppState& app);

// The physics of the viewer's tick: the poses the last step left are taken for the frame, and
// this tick's step runs on the worker thread while the frame is drawn. The frame shows the
// world one tick behind, and a mouse push waits for the step; each push still acts between the
// same two steps as it would without the overlap. Returns the tick's plan.
TickPlan startStep(AppState& app);

// Waits for the step started by startStep, if any, then applies the pushes queued meanwhile.
void finishStep(AppState& app);

// The scroller moved by the plan, and a redraw asked for.
void scrollAndRedraw(AppState& app, const TickPlan& plan);

// The current frame into the back buffer, with the physics over it under --debug.
void drawCurrentFrame(AppState& app);

// The display callback's work: the current frame, then the buffer swap.
void display(AppState& app);

// With --stats, prints the report line on standard error once a second has passed.
void reportStats(AppState& app);

// What the timer does each tick, after re-arming: the step beside the frame, or, under --debug
// (which draws from the physics itself), before it.
void timerTick(AppState& app);

// Escape quits, after releasing the world; r reloads. With --interactive, space pauses and
// resumes, '.' steps one tick while paused, '[' and ']' halve and double the speed.
void keyPressed(AppState& app, unsigned char key);

void onDisplay();
void onKeyboard(unsigned char key, int x, int y);
void onTimer(int value);
