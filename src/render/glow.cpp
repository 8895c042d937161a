#include "render/glow.h"

#include <GL/gl.h>

#include <vector>

#include "render/draw_objects.h"
#include "render/frame.h"

namespace {

void drawFullWorldQuad() {
  const float w = kWorldWidth, h = kWorldHeight;
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(0.0f, 0.0f, 0.0f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(w, 0.0f, 0.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(w, h, 0.0f);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(0.0f, h, 0.0f);
  glEnd();
}

void setViewport(const GLint viewport[4]) {
  glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}

// The scene as drawn into the scratch square becomes level 0.
void capture(const Glow& glow, const Poses& poses, const Scroller& scroller, const View& view) {
  initGlState(view);
  glViewport(0, 0, kGlowSize, kGlowSize);
  drawScene(poses, scroller, view);
  glBindTexture(GL_TEXTURE_2D, glow.chain[0]);
  glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, kGlowSize, kGlowSize, 0);
}

// Each level is the one above drawn at half the size; the scratch square is cleared after.
void downsample(const Glow& glow) {
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glColor3f(1.0f, 1.0f, 1.0f);
  for (int k = 1; k < kGlowLevels; ++k) {
    const int size = kGlowSize >> k;
    glViewport(0, 0, size, size);
    glBindTexture(GL_TEXTURE_2D, glow.chain[k - 1]);
    drawFullWorldQuad();
    glBindTexture(GL_TEXTURE_2D, glow.chain[k]);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, size, size, 0);
  }
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// All levels added over the whole viewport, the smallest first with weight `base`, each
// following one `mul` times the one before.
void composite(const Glow& glow, float base, float mul) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  float weight = base;
  for (int k = kGlowLevels - 1; k >= 0; --k) {
    glBindTexture(GL_TEXTURE_2D, glow.chain[k]);
    glColor4f(1.0f, 1.0f, 1.0f, weight);
    drawFullWorldQuad();
    weight *= mul;
  }
}

}  // namespace

void createGlowChain(Glow& glow) {
  const std::vector<unsigned char> black(kGlowSize * kGlowSize * 3, 0);
  for (int k = 0; k < kGlowLevels; ++k) {
    const int size = kGlowSize >> k;
    glGenTextures(1, &glow.chain[k]);
    glBindTexture(GL_TEXTURE_2D, glow.chain[k]);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, black.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  }
}

bool glowFitsWindow() {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  return viewport[2] >= kGlowSize && viewport[3] >= kGlowSize;
}

void drawGlowFrame(Glow& glow, const Poses& poses, const Scroller& scroller, const View& view) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  capture(glow, poses, scroller, view);
  setViewport(viewport);

  glPushAttrib(GL_ENABLE_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0.0, kWorldWidth, kWorldHeight, 0.0, 0.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();

  downsample(glow);
  setViewport(viewport);
  composite(glow, poses.scene->settings.glow_base, poses.scene->settings.glow_mul);

  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopAttrib();
  setViewport(viewport);
}
