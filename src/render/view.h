#pragma once
// The part of the world a frame shows: the fixed 1024 x 768 view, or, on the workbench, a
// zoomed and panned one.
#include <chipmunk/chipmunk.h>

#include "scene/scene.h"

constexpr double kMinZoom = 1.0 / 8, kMaxZoom = 32.0;

struct View {
  double zoom = 1.0;
  cpVect centre = {kWorldWidth / 2.0, kWorldHeight / 2.0};  // the world point in the middle
};

struct WorldRect {
  double left, right, top, bottom;
};

// The world's rectangle the view stretches over the window; the fixed view's is exactly
// 0, 1024, 0, 768.
WorldRect visibleRect(const View& view);

// The world point under a window pixel position (from the top-left corner).
cpVect windowToWorld(const View& view, double x, double y, int width, int height);

// Zooms by sqrt(2) per click (out for negative clicks), within kMinZoom and kMaxZoom, keeping
// `fixed` where it is in the window.
void zoomAbout(View& view, cpVect fixed, int clicks);

// Moves the picture by a drag of dx, dy window pixels.
void panBy(View& view, double dx, double dy, int width, int height);
