#include "render/view.h"

#include <algorithm>
#include <cmath>

WorldRect visibleRect(const View& view) {
  const double half_w = kWorldWidth / 2.0 / view.zoom, half_h = kWorldHeight / 2.0 / view.zoom;
  return {view.centre.x - half_w, view.centre.x + half_w, view.centre.y - half_h,
          view.centre.y + half_h};
}

cpVect windowToWorld(const View& view, double x, double y, int width, int height) {
  const WorldRect r = visibleRect(view);
  return cpv(r.left + (r.right - r.left) * x / width, r.top + (r.bottom - r.top) * y / height);
}

void zoomAbout(View& view, cpVect fixed, int clicks) {
  const double zoom = std::clamp(view.zoom * std::pow(2.0, clicks / 2.0), kMinZoom, kMaxZoom);
  view.centre = cpvadd(fixed, cpvmult(cpvsub(view.centre, fixed), view.zoom / zoom));
  view.zoom = zoom;
}

void panBy(View& view, double dx, double dy, int width, int height) {
  view.centre.x -= dx * kWorldWidth / view.zoom / width;
  view.centre.y -= dy * kWorldHeight / view.zoom / height;
}
