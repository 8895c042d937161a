#include "render/scroller.h"

#include <GL/glut.h>

#include "scene/scene.h"

void measureScrollerText(Scroller& scroller, float scale) {
  scroller.x = kWorldWidth;
  const auto* text = reinterpret_cast<const unsigned char*>(scroller.text.c_str());
  scroller.width = static_cast<float>(glutStrokeLength(GLUT_STROKE_ROMAN, text) * scale);
}

namespace {

void strokeText(const std::string& text) {
  // Bytes above 127 become negative codes, for which the font draws nothing.
  for (char byte : text) glutStrokeCharacter(GLUT_STROKE_ROMAN, static_cast<signed char>(byte));
}

}  // namespace

void drawScroller(const Scroller& scroller, const SceneSettings& s) {
  const float scale = s.scroller_text_scale;
  const Color4& color = s.scroller_text_color;
  glLineWidth(s.scroller_text_thickness);

  glLoadIdentity();
  glTranslatef(scroller.x + static_cast<float>(s.scroller_text_shadow_dist.x),
               s.scroller_text_y + static_cast<float>(s.scroller_text_shadow_dist.y), 0.0f);
  glScalef(scale, -scale, 1.0f);  // the font's y grows upwards, the world's downwards
  glColor4f(0.0f, 0.0f, 0.0f, color.a);
  strokeText(scroller.text);

  glLoadIdentity();
  glTranslatef(scroller.x, s.scroller_text_y, 0.0f);
  glScalef(scale, -scale, 1.0f);
  glColor4f(color.r, color.g, color.b, color.a);
  strokeText(scroller.text);
}
