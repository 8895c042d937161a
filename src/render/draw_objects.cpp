#include "render/draw_objects.h"

#include <GL/gl.h>

#include <initializer_list>

#include "world/mesh.h"

namespace {

// Slightly below pi (pi rounds to 3.1415927f as a float): angles have always been turned into
// degrees with this divisor, and matching pictures depend on it.
constexpr float kAnglePi = 3.1415925f;

void drawMesh(const Mesh* mesh) {
  if (!mesh || mesh->triangles.empty()) return;
  // Every triangle of a loaded mesh names existing vertices. The colour stays current from one
  // vertex to the next, so it is only set when it changes; the driver takes floats, and would
  // round doubles to them the same way.
  glBegin(GL_TRIANGLES);
  const Color3* current = nullptr;
  for (const MeshTriangle& t : mesh->triangles) {
    if (!current || t.color.r != current->r || t.color.g != current->g || t.color.b != current->b) {
      glColor3f(t.color.r, t.color.g, t.color.b);
      current = &t.color;
    }
    for (int index : {t.a, t.b, t.c}) {
      const cpVect& v = mesh->vertices[index];
      glVertex2f(static_cast<float>(v.x), static_cast<float>(v.y));
    }
  }
  glEnd();
}

void drawObject(const SceneObject& object) {
  if (!object.mesh) return;
  glPushMatrix();
  if (object.body) {
    const cpVect p = cpBodyGetPosition(object.body);
    glTranslatef(static_cast<float>(p.x), static_cast<float>(p.y), 0.0f);
    const float degrees = static_cast<float>(cpBodyGetAngle(object.body)) * 180.0f / kAnglePi;
    glRotatef(degrees, 0.0f, 0.0f, 1.0f);
  } else {
    glTranslatef(static_cast<float>(object.pos.x), static_cast<float>(object.pos.y), 0.0f);
  }
  glScalef(object.scale, object.scale, 1.0f);
  drawMesh(object.mesh);
  glPopMatrix();
}

void drawRope(const SceneRope& rope) {
  const float half = rope.seg_len * 0.5f;
  glLineWidth(rope.seg_thickness);
  glBegin(GL_LINE_STRIP);
  const float color[4] = {rope.color.r, rope.color.g, rope.color.b, rope.color.a};
  glColor4fv(color);
  const size_t n = rope.segments.size();
  for (size_t i = 0; i < n; ++i) {
    const cpVect p = cpBodyGetPosition(rope.segments[i]);
    const cpVect rot = cpBodyGetRotation(rope.segments[i]);
    // The strip runs from the free end of the first segment to the far end of the last.
    if (i == 0)
      glVertex2f(static_cast<float>(p.x - half * rot.x), static_cast<float>(p.y - half * rot.y));
    glVertex2f(static_cast<float>(p.x), static_cast<float>(p.y));
    if (i == n - 1)
      glVertex2f(static_cast<float>(p.x + half * rot.x), static_cast<float>(p.y + half * rot.y));
  }
  glEnd();
}

}  // namespace

void drawObjects(const Scene& scene) {
  // Mesh colours carry no alpha, so blending could only reproduce the source colour; without
  // it the same pixels cost the driver noticeably less.
  glDisable(GL_BLEND);
  for (const auto& [name, object] : scene.objects) drawObject(*object);
  glEnable(GL_BLEND);
}

void drawRopes(const Scene& scene) {
  for (const auto& rope : scene.ropes) drawRope(*rope);
}
