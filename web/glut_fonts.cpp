// The web build's GLUT fonts: freeglut's, replayed from the tables quillmoor-fontgen captured.
// The drawing functions build on the desktop too, where the font tests compare them with
// freeglut pixel for pixel; the GLUT entry points exist only in the web build.
#include <GL/gl.h>

#include <cmath>

#include "fonts.h"

void strokeCharacter(const StrokeFontTable& font, int c) {
  if (c < 0 || c >= kFontCodes) return;  // freeglut ignores these, matrix and all
  const StrokeGlyph& glyph = font.glyphs[c];
  for (int s = glyph.first_strip; s < glyph.first_strip + glyph.strips; ++s) {
    glBegin(GL_LINE_STRIP);
    for (int p = font.strip_starts[s]; p < font.strip_starts[s + 1]; ++p)
      glVertex2f(font.points[2 * p], font.points[2 * p + 1]);
    glEnd();
  }
  glTranslatef(glyph.advance, 0.0f, 0.0f);
}

int strokeLength(const StrokeFontTable& font, const unsigned char* text) {
  float longest = 0.0f, line = 0.0f;
  for (; *text; ++text) {
    if (*text == '\n') {
      longest = std::fmax(longest, line);
      line = 0.0f;
    } else {
      line += font.glyphs[*text].advance;
    }
  }
  return static_cast<int>(std::fmax(longest, line) + 0.5);
}

void bitmapCharacter(const BitmapFontTable& font, int c) {
  if (c < 0 || c >= kFontCodes) return;
  const BitmapGlyph& glyph = font.glyphs[c];
  float x = 0.0f, y = 0.0f;
  qmRasterWindowPos(&x, &y);
  if (glyph.width > 0) {
    // glBitmap puts its lower-left pixel at the raster position rounded down.
    const int left = static_cast<int>(std::floor(x)) + glyph.left;
    const int bottom = static_cast<int>(std::floor(y)) + glyph.bottom;
    const int row_bytes = (glyph.width + 7) / 8;
    GLint viewport[4], mode = GL_MODELVIEW;
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_QUADS);
    for (int row = 0; row < glyph.height; ++row) {
      const unsigned char* bits = font.rows + glyph.first_row + row * row_bytes;
      for (int column = 0; column < glyph.width; ++column) {
        if (!(bits[column / 8] & (0x80 >> column % 8))) continue;
        const int px = left + column, py = bottom + row;
        glVertex2i(px, py);
        glVertex2i(px + 1, py);
        glVertex2i(px + 1, py + 1);
        glVertex2i(px, py + 1);
      }
    }
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(mode);
  }
  qmSetRasterWindowPos(x + glyph.advance, y);
}

#ifdef __EMSCRIPTEN__
#include <GL/freeglut_std.h>

// Only their addresses matter: they are the font handles GLUT_STROKE_ROMAN and
// GLUT_BITMAP_8_BY_13.
void* glutStrokeRoman = nullptr;
void* glutBitmap8By13 = nullptr;

void glutStrokeCharacter(void* font, int c) {
  if (font == GLUT_STROKE_ROMAN) strokeCharacter(kStrokeRoman, c);
}
int glutStrokeLength(void* font, const unsigned char* text) {
  return font == GLUT_STROKE_ROMAN ? strokeLength(kStrokeRoman, text) : 0;
}
void glutBitmapCharacter(void* font, int c) {
  if (font == GLUT_BITMAP_8_BY_13) bitmapCharacter(kBitmap8By13, c);
}
#endif
