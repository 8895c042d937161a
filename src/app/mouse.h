#pragma once
// Passive mouse motion pushes the moving objects under the cursor.
#include <chipmunk/chipmunk.h>

#include "app/state.h"

struct MouseImpulseQuery {
  cpVect point;    // the cursor's world position
  cpVect impulse;  // j
};

// The world point under a window pixel, through the current matrices and viewport.
cpVect mouseToWorld(int x, int y);

// The arithmetic behind it: window y flipped against the window's height (no minus one),
// depth 0, unprojected through the given matrices and viewport.
cpVect unprojectMouse(int x, int y, int window_height, const double modelview[16],
                      const double projection[16], const int viewport[4]);

// j = (point - previous) x force x fps: the displacement as if it had taken one frame.
cpVect mouseImpulse(cpVect previous, cpVect point, float force, float fps);

// The length of j, in single precision, strictly below the maximum. A non-finite j never is.
bool impulseAllowed(cpVect impulse, float force_max);

// The point query's callback: pushes the body of a moving shape that contains the point.
void applyMouseImpulse(cpShape* shape, cpVect point, cpFloat distance, cpVect gradient, void* data);

// Everything a passive-motion event does once its world point is known.
void pushAt(AppState& app, cpVect point);

// A passive motion at a world point: pushed now, or queued while a step runs.
void mouseMoved(AppState& app, cpVect point);

void onPassiveMotion(int x, int y);

// The world point under a window pixel: through the workbench's view with --interactive,
// else through the current matrices (mouseToWorld).
cpVect pointerToWorld(const AppState& app, int x, int y);

// The workbench's buttons: the left grabs the moving object under the cursor and lets it go,
// the right pans while held, the wheel (buttons 3 and 4) zooms about the cursor.
void mouseButton(AppState& app, int button, bool down, int x, int y);
// A motion with a button held: carries what is held, or pans.
void mouseDragged(AppState& app, int x, int y);

void onMouse(int button, int state, int x, int y);
void onMotion(int x, int y);
