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

void drawObject(const SceneObject& object, const ObjectPose& drawn) {
  if (!drawn.mesh) return;
  const Pose& pose = drawn.pose;
  glPushMatrix();
  glTranslatef(static_cast<float>(pose.p.x), static_cast<float>(pose.p.y), 0.0f);
  if (drawn.turned) {
    const float degrees = static_cast<float>(pose.angle) * 180.0f / kAnglePi;
    glRotatef(degrees, 0.0f, 0.0f, 1.0f);
  }
  glScalef(object.scale, object.scale, 1.0f);
  drawMesh(drawn.mesh);
  glPopMatrix();
}

void drawRope(const SceneRope& rope, float seg_len, const std::vector<Pose>& segments) {
  const float half = seg_len * 0.5f;
  glLineWidth(rope.seg_thickness);
  glBegin(GL_LINE_STRIP);
  const float color[4] = {rope.color.r, rope.color.g, rope.color.b, rope.color.a};
  glColor4fv(color);
  for (const Pose& segment : segments) {
    const cpVect p = segment.p, rot = segment.rot;
    // The strip runs from the free end of the first segment to the far end of the last.
    if (&segment == &segments.front())
      glVertex2f(static_cast<float>(p.x - half * rot.x), static_cast<float>(p.y - half * rot.y));
    glVertex2f(static_cast<float>(p.x), static_cast<float>(p.y));
    if (&segment == &segments.back())
      glVertex2f(static_cast<float>(p.x + half * rot.x), static_cast<float>(p.y + half * rot.y));
  }
  glEnd();
}

Pose poseOf(cpBody* body) {
  return {cpBodyGetPosition(body), cpBodyGetAngle(body), cpBodyGetRotation(body)};
}

}  // namespace

void capturePoses(const World& world, Poses& poses) {
  poses.scene = world.scene;
  poses.objects.clear();
  if (!world.scene) return poses.ropes.clear();
  for (const auto& [name, object] : world.scene->objects) {
    const BuiltObject& built = world.of(*object);
    const Pose pose = built.body ? poseOf(built.body) : Pose{object->pos, {}, {}};
    poses.objects.push_back({pose, built.drawn, built.body != nullptr});
  }
  poses.ropes.resize(world.ropes.size());
  auto rope_poses = poses.ropes.begin();
  for (const BuiltRope& rope : world.ropes) {
    rope_poses->seg_len = rope.seg_len;
    rope_poses->segments.clear();  // keeps its memory from tick to tick
    for (cpBody* segment : rope.segments) rope_poses->segments.push_back(poseOf(segment));
    ++rope_poses;
  }
}

void drawObjects(const Poses& poses) {
  // Mesh colours carry no alpha, so blending could only reproduce the source colour; without
  // it the same pixels cost the driver noticeably less.
  glDisable(GL_BLEND);
  const ObjectPose* drawn = poses.objects.data();
  for (const auto& [name, object] : poses.scene->objects) drawObject(*object, *drawn++);
  glEnable(GL_BLEND);
}

void drawRopes(const Poses& poses) {
  for (size_t i = 0; i < poses.ropes.size(); ++i)
    drawRope(*poses.scene->ropes[i], poses.ropes[i].seg_len, poses.ropes[i].segments);
}
