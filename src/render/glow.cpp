#include "render/glow.h"

#include <GL/gl.h>

#include <vector>

#include "render/frame.h"
#include "scene/scene.h"

namespace {

GLuint chain[kGlowLevels];
GLint savedViewport[4];

void drawFullWorldQuad() {
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(0.0f, 0.0f, 0.0f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(1024.0f, 0.0f, 0.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(1024.0f, 768.0f, 0.0f);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(0.0f, 768.0f, 0.0f);
  glEnd();
}

}  // namespace

void createGlowChain() {
  const std::vector<unsigned char> black(kGlowSize * kGlowSize * 3, 0);
  for (int k = 0; k < kGlowLevels; ++k) {
    const int size = kGlowSize >> k;
    glGenTextures(1, &chain[k]);
    glBindTexture(GL_TEXTURE_2D, chain[k]);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, black.data());
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

void drawGlowFrame(const Scene& scene, const Scroller& scroller) {
  glGetIntegerv(GL_VIEWPORT, savedViewport);
  initGlState();
  glViewport(0, 0, kGlowSize, kGlowSize);
  drawScene(&scene, scroller);
  glowCapture();
  glowDownsample();
  glowComposite(scene.settings.glow_base, scene.settings.glow_mul);
  glowRestore();
}

void glowCapture() {
  glBindTexture(GL_TEXTURE_2D, chain[0]);
  glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, kGlowSize, kGlowSize, 0);
  glViewport(savedViewport[0], savedViewport[1], savedViewport[2], savedViewport[3]);
}

void glowDownsample() {
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
  glOrtho(0.0, 1024.0, 768.0, 0.0, 0.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glColor3f(1.0f, 1.0f, 1.0f);
  for (int k = 1; k < kGlowLevels; ++k) {
    const int size = kGlowSize >> k;
    glViewport(0, 0, size, size);
    glBindTexture(GL_TEXTURE_2D, chain[k - 1]);
    drawFullWorldQuad();
    glBindTexture(GL_TEXTURE_2D, chain[k]);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, size, size, 0);
  }
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void glowComposite(float base, float mul) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glViewport(savedViewport[0], savedViewport[1], savedViewport[2], savedViewport[3]);
  float weight = base;
  for (int k = kGlowLevels - 1; k >= 0; --k) {
    glBindTexture(GL_TEXTURE_2D, chain[k]);
    glColor4f(1.0f, 1.0f, 1.0f, weight);
    drawFullWorldQuad();
    weight *= mul;
  }
}

void glowRestore() {
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopAttrib();
  glViewport(savedViewport[0], savedViewport[1], savedViewport[2], savedViewport[3]);
}
