#include "render/debug_draw.h"

#include <GL/gl.h>
#include <chipmunk/chipmunk_structs.h>

#include <cmath>

#include "render/frame.h"
#include "scene/scene.h"

namespace {

const float kMoving[4] = {0.2f, 1.0f, 0.3f, 1.0f};
const float kStatic[4] = {0.2f, 0.6f, 1.0f, 1.0f};
const float kPin[4] = {1.0f, 1.0f, 0.2f, 1.0f};
const float kSlide[4] = {1.0f, 0.3f, 1.0f, 1.0f};
const float kRopeSegment[4] = {1.0f, 0.5f, 0.1f, 1.0f};

void vertex(cpVect p) { glVertex2d(p.x, p.y); }

void drawShape(cpShape* shape, void*) {
  cpBody* body = cpShapeGetBody(shape);
  glColor4fv(cpBodyGetType(body) == CP_BODY_TYPE_STATIC ? kStatic : kMoving);
  if (shape->klass->type == CP_POLY_SHAPE) {
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < cpPolyShapeGetCount(shape); ++i)
      vertex(cpBodyLocalToWorld(body, cpPolyShapeGetVert(shape, i)));
    glEnd();
  } else if (shape->klass->type == CP_SEGMENT_SHAPE) {
    const cpVect a = cpBodyLocalToWorld(body, cpSegmentShapeGetA(shape));
    const cpVect b = cpBodyLocalToWorld(body, cpSegmentShapeGetB(shape));
    const double r = cpSegmentShapeGetRadius(shape);
    // The centre line, and the two sides of the rounded thickness.
    const cpVect side = cpvmult(cpvnormalize(cpvperp(cpvsub(b, a))), r);
    glBegin(GL_LINES);
    vertex(a), vertex(b);
    if (r > 0.0) vertex(cpvadd(a, side)), vertex(cpvadd(b, side));
    if (r > 0.0) vertex(cpvsub(a, side)), vertex(cpvsub(b, side));
    glEnd();
  }
}

// Pin joints as a solid line between their anchors, slide joints as a dashed one; the anchors
// as dots. Pivot joints belong to ropes, whose segments are drawn on their own.
void drawConstraint(cpConstraint* joint, void*) {
  cpVect a, b;
  if (cpConstraintIsPinJoint(joint)) {
    a = cpPinJointGetAnchorA(joint), b = cpPinJointGetAnchorB(joint);
    glColor4fv(kPin);
  } else if (cpConstraintIsSlideJoint(joint)) {
    a = cpSlideJointGetAnchorA(joint), b = cpSlideJointGetAnchorB(joint);
    glColor4fv(kSlide);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(2, 0x3333);
  } else {
    return;
  }
  a = cpBodyLocalToWorld(cpConstraintGetBodyA(joint), a);
  b = cpBodyLocalToWorld(cpConstraintGetBodyB(joint), b);
  glBegin(GL_LINES);
  vertex(a), vertex(b);
  glEnd();
  glDisable(GL_LINE_STIPPLE);
  glBegin(GL_POINTS);
  vertex(a), vertex(b);
  glEnd();
}

}  // namespace

void drawPhysicsDebug(cpSpace* space, const Scene* scene) {
  if (!space) return;
  initGlState();  // the glow frame leaves its own projection and viewport behind
  glLineWidth(1.5f);
  glPointSize(5.0f);
  cpSpaceEachShape(space, drawShape, nullptr);
  cpSpaceEachConstraint(space, drawConstraint, nullptr);
  if (!scene) return;
  glColor4fv(kRopeSegment);
  glBegin(GL_POINTS);
  for (const auto& rope : scene->ropes)
    for (cpBody* segment : rope->segments) vertex(cpBodyGetPosition(segment));
  glEnd();
}
