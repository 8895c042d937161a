#include "render/draw_objects.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "world/mesh.h"

namespace {

// Slightly below pi (pi rounds to 3.1415927f as a float): angles have always been turned into
// degrees with this divisor, and matching pictures depend on it.
constexpr float kAnglePi = 3.1415925f;

struct MeshBuffer {
  GLuint id = 0;
  GLsizei corners = 0;
};

// Each corner with its triangle's colour, as x, y, r, g, b floats: the values glVertex2f and
// glColor3f were given, so the pixels stay the same, but uploaded once per load instead of
// passed call by call every frame.
const MeshBuffer& meshBuffer(const Mesh& mesh) {
  if (!mesh.drawn) {
    std::vector<float> corners;
    corners.reserve(mesh.triangles.size() * 15);
    for (const MeshTriangle& t : mesh.triangles)
      for (int index : {t.a, t.b, t.c}) {
        const cpVect& v = mesh.vertices[index];
        corners.insert(corners.end(), {static_cast<float>(v.x), static_cast<float>(v.y), t.color.r,
                                       t.color.g, t.color.b});
      }
    auto buffer = std::shared_ptr<MeshBuffer>(new MeshBuffer, [](MeshBuffer* b) {
      glDeleteBuffers(1, &b->id);
      delete b;
    });
    buffer->corners = static_cast<GLsizei>(mesh.triangles.size() * 3);
    glGenBuffers(1, &buffer->id);
    glBindBuffer(GL_ARRAY_BUFFER, buffer->id);
    glBufferData(GL_ARRAY_BUFFER, corners.size() * sizeof(float), corners.data(), GL_STATIC_DRAW);
    mesh.drawn = buffer;
  }
  return *static_cast<const MeshBuffer*>(mesh.drawn.get());
}

void drawMesh(const Mesh* mesh) {
  if (!mesh || mesh->triangles.empty()) return;
  const MeshBuffer& buffer = meshBuffer(*mesh);
  constexpr GLsizei kStride = 5 * sizeof(float);
  glBindBuffer(GL_ARRAY_BUFFER, buffer.id);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(2, GL_FLOAT, kStride, nullptr);
  glColorPointer(3, GL_FLOAT, kStride, reinterpret_cast<const void*>(2 * sizeof(float)));
  glDrawArrays(GL_TRIANGLES, 0, buffer.corners);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
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
