#include "render/overlay.h"

#include <GL/glut.h>

#include <algorithm>

namespace {

void* const kFont = GLUT_BITMAP_8_BY_13;
constexpr int kLineHeight = 15, kCharWidth = 8, kMargin = 8, kPadding = 5;

}  // namespace

void drawTextPanel(const std::vector<std::string>& lines, Corner corner) {
  if (lines.empty()) return;
  const int width = glutGet(GLUT_WINDOW_WIDTH), height = glutGet(GLUT_WINDOW_HEIGHT);
  size_t longest = 0;
  for (const std::string& line : lines) longest = std::max(longest, line.size());
  const int w = static_cast<int>(longest) * kCharWidth + 2 * kPadding;
  const int h = static_cast<int>(lines.size()) * kLineHeight + 2 * kPadding;
  const int left = corner == Corner::TopRight ? width - kMargin - w : kMargin;
  const int top = corner == Corner::BottomLeft ? height - kMargin - h : kMargin;

  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0.0, width, height, 0.0, -1.0, 1.0);  // window pixels, y down
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glEnable(GL_BLEND);
  glColor4f(0.0f, 0.0f, 0.0f, 0.7f);
  glRecti(left, top, left + w, top + h);
  glColor4f(1.0f, 1.0f, 0.85f, 1.0f);
  for (size_t i = 0; i < lines.size(); ++i) {
    glRasterPos2i(left + kPadding, top + kPadding + static_cast<int>(i + 1) * kLineHeight - 3);
    for (char c : lines[i]) glutBitmapCharacter(kFont, static_cast<unsigned char>(c));
  }
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
}
