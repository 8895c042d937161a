#include "render/debug_draw.h"

#include <GL/gl.h>

#include <cmath>

#include "render/frame.h"
#include "world/world.h"

namespace {

const float kMoving[4] = {0.2f, 1.0f, 0.3f, 1.0f};
const float kStatic[4] = {0.2f, 0.6f, 1.0f, 1.0f};
const float kPin[4] = {1.0f, 1.0f, 0.2f, 1.0f};
const float kSlide[4] = {1.0f, 0.3f, 1.0f, 1.0f};
const float kRopeSegment[4] = {1.0f, 0.5f, 0.1f, 1.0f};

void vertex(cpVect p) { glVertex2d(p.x, p.y); }

cpSpaceDebugColor colourOf(const float rgba[4]) { return {rgba[0], rgba[1], rgba[2], rgba[3]}; }

cpSpaceDebugColor shapeColour(cpShape* shape, cpDataPointer) {
  const bool fixed = cpBodyGetType(cpShapeGetBody(shape)) == CP_BODY_TYPE_STATIC;
  return colourOf(fixed ? kStatic : kMoving);
}

void useColour(cpSpaceDebugColor c) { glColor4f(c.r, c.g, c.b, c.a); }

// The library gives each shape's corners in world coordinates, as its last step placed them.
void drawPolygon(int count, const cpVect* corners, cpFloat, cpSpaceDebugColor,
                 cpSpaceDebugColor fill, cpDataPointer) {
  useColour(fill);
  glBegin(GL_LINE_LOOP);
  for (int i = 0; i < count; ++i) vertex(corners[i]);
  glEnd();
}

// The centre line, and the two sides of the rounded thickness.
void drawFatSegment(cpVect a, cpVect b, cpFloat r, cpSpaceDebugColor, cpSpaceDebugColor fill,
                    cpDataPointer) {
  useColour(fill);
  const cpVect side = cpvmult(cpvnormalize(cpvperp(cpvsub(b, a))), r);
  glBegin(GL_LINES);
  vertex(a), vertex(b);
  if (r > 0.0) vertex(cpvadd(a, side)), vertex(cpvadd(b, side));
  if (r > 0.0) vertex(cpvsub(a, side)), vertex(cpvsub(b, side));
  glEnd();
}

// Shapes are triangles and segments only.
void drawNothing() {}

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

void drawPhysicsDebug(const World& world) {
  initGlState();  // the glow frame leaves its own projection and viewport behind
  glLineWidth(1.5f);
  glPointSize(5.0f);
  cpSpaceDebugDrawOptions shapes{};
  shapes.drawCircle = [](cpVect, cpFloat, cpFloat, cpSpaceDebugColor, cpSpaceDebugColor,
                         cpDataPointer) { drawNothing(); };
  shapes.drawSegment = [](cpVect, cpVect, cpSpaceDebugColor, cpDataPointer) { drawNothing(); };
  shapes.drawFatSegment = drawFatSegment;
  shapes.drawPolygon = drawPolygon;
  shapes.drawDot = [](cpFloat, cpVect, cpSpaceDebugColor, cpDataPointer) { drawNothing(); };
  shapes.flags = CP_SPACE_DEBUG_DRAW_SHAPES;
  shapes.colorForShape = shapeColour;
  cpSpaceDebugDraw(world.space, &shapes);
  // The library's own joint pictures would draw every rope pivot; ours tell pin from slide.
  cpSpaceEachConstraint(world.space, drawConstraint, nullptr);
  glColor4fv(kRopeSegment);
  glBegin(GL_POINTS);
  for (const BuiltRope& rope : world.ropes)
    for (cpBody* segment : rope.segments) vertex(cpBodyGetPosition(segment));
  glEnd();
}
