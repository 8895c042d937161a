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

void drawObject(const ObjectPose& drawn) {
  if (!drawn.mesh) return;
  const SceneObject& object = *drawn.object;
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

Pose staticPose(const SceneObject& object) {
  const double angle = object.angle * (3.14159265358979323846 / 180.0);
  return {object.pos, angle, cpvforangle(angle)};
}

bool jointsPoints(JointKind kind) {
  return kind == JointKind::Pin || kind == JointKind::Slide || kind == JointKind::Pivot ||
         kind == JointKind::Groove || kind == JointKind::Spring;
}

void drawJoint(const JointPose& drawn) {
  const SceneJoint& joint = *drawn.joint;
  const float color[4] = {joint.color.r, joint.color.g, joint.color.b, joint.color.a};
  glColor4fv(color);
  glBegin(GL_LINE_STRIP);
  if (joint.kind == JointKind::Spring) {
    for (const cpVect& p : zigzag(drawn.a, drawn.b, 6.0, 12)) glVertex2d(p.x, p.y);
  } else {
    glVertex2d(drawn.a.x, drawn.a.y), glVertex2d(drawn.b.x, drawn.b.y);
  }
  glEnd();
}

}  // namespace

std::vector<cpVect> zigzag(cpVect a, cpVect b, double width, int teeth) {
  const cpVect side = cpvmult(cpvnormalize(cpvperp(cpvsub(b, a))), width);
  std::vector<cpVect> points{a};
  for (int i = 1; i <= teeth; ++i)
    points.push_back(cpvadd(cpvlerp(a, b, (i - 0.5) / teeth), i % 2 ? side : cpvneg(side)));
  points.push_back(b);
  return points;
}

void jointAnchors(cpConstraint* c, cpVect& a, cpVect& b) {
  cpBody* body_a = cpConstraintGetBodyA(c);
  cpBody* body_b = cpConstraintGetBodyB(c);
  cpVect local_a = cpvzero, local_b = cpvzero;  // joints on angles alone join the centres
  if (cpConstraintIsPinJoint(c)) {
    local_a = cpPinJointGetAnchorA(c), local_b = cpPinJointGetAnchorB(c);
  } else if (cpConstraintIsSlideJoint(c)) {
    local_a = cpSlideJointGetAnchorA(c), local_b = cpSlideJointGetAnchorB(c);
  } else if (cpConstraintIsPivotJoint(c)) {
    local_a = cpPivotJointGetAnchorA(c), local_b = cpPivotJointGetAnchorB(c);
  } else if (cpConstraintIsGrooveJoint(c)) {
    local_a = cpvlerp(cpGrooveJointGetGrooveA(c), cpGrooveJointGetGrooveB(c), 0.5);
    local_b = cpGrooveJointGetAnchorB(c);
  } else if (cpConstraintIsDampedSpring(c)) {
    local_a = cpDampedSpringGetAnchorA(c), local_b = cpDampedSpringGetAnchorB(c);
  }
  a = cpBodyLocalToWorld(body_a, local_a);
  b = cpBodyLocalToWorld(body_b, local_b);
}

void capturePoses(const World& world, Poses& poses) {
  poses.scene = world.scene;
  poses.objects.clear();
  poses.joints.clear();
  if (!world.scene) return poses.ropes.clear();
  for (const auto& [name, object] : world.scene->objects) {
    const BuiltObject& built = world.of(*object);
    if (built.body)
      poses.objects.push_back({object, poseOf(built.body), built.drawn, true});
    else if (object->angle != 0.0f)
      poses.objects.push_back({object, staticPose(*object), built.drawn, true});
    else
      poses.objects.push_back({object, {object->pos, {}, {}}, built.drawn, false});
  }
  for (size_t i = 0; i < world.joints.size(); ++i) {
    const SceneJoint& joint = *world.scene->joints[i];
    const BuiltJoint& built = world.joints[i];
    if (!joint.coloured || !built.constraint || built.broken) continue;
    // A joint on angles alone against the world joins no two points.
    const bool on_world =
        cpBodyGetType(cpConstraintGetBodyA(built.constraint)) == CP_BODY_TYPE_STATIC ||
        cpBodyGetType(cpConstraintGetBodyB(built.constraint)) == CP_BODY_TYPE_STATIC;
    if (on_world && !jointsPoints(joint.kind)) continue;
    JointPose& pose = poses.joints.emplace_back(JointPose{&joint, {}, {}});
    jointAnchors(built.constraint, pose.a, pose.b);
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
  const std::vector<size_t>& order = poses.scene->draw_order;
  if (order.empty()) {  // no layers: name order
    for (const ObjectPose& drawn : poses.objects) drawObject(drawn);
  } else {
    for (size_t i : order) drawObject(poses.objects[i]);
  }
  glEnable(GL_BLEND);
}

void drawJoints(const Poses& poses) {
  if (poses.joints.empty()) return;
  glLineWidth(2.0f);
  for (const JointPose& joint : poses.joints) drawJoint(joint);
}

void drawRopes(const Poses& poses) {
  for (size_t i = 0; i < poses.ropes.size(); ++i)
    drawRope(*poses.scene->ropes[i], poses.ropes[i].seg_len, poses.ropes[i].segments);
}
