#include "render/frame.h"

#include <GL/gl.h>

#include "render/draw_objects.h"
#include "render/glow.h"
#include "render/scroller.h"

namespace {

void setProjection(const View& view) {
  const WorldRect r = visibleRect(view);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(r.left, r.right, r.bottom, r.top, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
}

bool zoomedOrPanned(const View& view) {
  const View fixed;
  return view.zoom != fixed.zoom || view.centre.x != fixed.centre.x ||
         view.centre.y != fixed.centre.y;
}

}  // namespace

void initGlState(const View& view) {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glPointSize(3.0f);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_POINT_SMOOTH);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glHint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE);
  glHint(GL_POINT_SMOOTH_HINT, GL_DONT_CARE);
  glLineWidth(2.5f);
  glDisable(GL_CULL_FACE);
  setProjection(view);
  glLoadIdentity();
}

void drawScene(const Poses& poses, const Scroller& scroller, const View& view) {
  glClear(GL_COLOR_BUFFER_BIT);
  if (!poses.scene) return;
  glLoadIdentity();
  if (poses.scene->settings.draw_rope_after_objects) {
    drawObjects(poses);
    drawRopes(poses);
  } else {
    drawRopes(poses);
    drawObjects(poses);
  }
  drawJoints(poses);
  if (zoomedOrPanned(view)) setProjection(View{});  // the text stays where it always is
  drawScroller(scroller, poses.scene->settings);
}

void drawFrame(const Poses& poses, const Scroller& scroller, Glow& glow, const View& view) {
  if (poses.scene && poses.scene->settings.glow_enabled && glowFitsWindow()) {
    drawGlowFrame(glow, poses, scroller, view);
  } else {
    initGlState(view);
    drawScene(poses, scroller, view);
  }
}
