#include "render/debug_draw.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/draw_objects.h"
#include "render/frame.h"
#include "world/world.h"

namespace {

const float kMoving[4] = {0.2f, 1.0f, 0.3f, 1.0f};
const float kStatic[4] = {0.2f, 0.6f, 1.0f, 1.0f};
const float kPin[4] = {1.0f, 1.0f, 0.2f, 1.0f};
const float kSlide[4] = {1.0f, 0.3f, 1.0f, 1.0f};
const float kRopeSegment[4] = {1.0f, 0.5f, 0.1f, 1.0f};
// One colour for each family of the other joints: held at a point (pivot, groove), springs,
// and those that act on angles alone.
const float kPoint[4] = {0.1f, 1.0f, 1.0f, 1.0f};
const float kSpring[4] = {1.0f, 0.2f, 0.2f, 1.0f};
const float kAngle[4] = {1.0f, 1.0f, 1.0f, 1.0f};

constexpr double kPi = 3.14159265358979323846;
// Radii of the pictures of joints on angles, around a body's centre: fixed, so that they read
// the same on bodies of any size.
constexpr double kPivotRing = 6.0, kHub = 18.0, kTooth = 5.0;

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

// Points along an arc, angles as the bodies turn (y down: clockwise on screen), ends included.
std::vector<cpVect> arc(cpVect centre, double radius, double from, double to) {
  const int n = int(std::clamp(std::fabs(to - from) * radius / 4.0, 4.0, 128.0));
  std::vector<cpVect> points;
  for (int i = 0; i <= n; ++i)
    points.push_back(cpvadd(centre, cpvmult(cpvforangle(from + (to - from) * i / n), radius)));
  return points;
}

void strip(const std::vector<cpVect>& points, GLenum mode = GL_LINE_STRIP) {
  glBegin(mode);
  for (const cpVect& p : points) vertex(p);
  glEnd();
}

// The outline, and a radius showing how far the circle has turned.
void drawCircle(cpVect centre, cpFloat angle, cpFloat r, cpSpaceDebugColor, cpSpaceDebugColor fill,
                cpDataPointer) {
  useColour(fill);
  strip(arc(centre, r, 0.0, 2.0 * kPi), GL_LINE_LOOP);
  strip({centre, cpvadd(centre, cpvmult(cpvforangle(angle), r))}, GL_LINES);
}

// Shapes are circles, triangles and segments only.
void drawNothing() {}

// The body whose centre carries the picture of a joint on angles: b's, unless b is the world,
// whose centre means nothing on screen.
cpBody* hubOf(cpConstraint* joint) {
  cpBody* b = cpConstraintGetBodyB(joint);
  return cpBodyGetType(b) == CP_BODY_TYPE_STATIC ? cpConstraintGetBodyA(joint) : b;
}

// A ring with `teeth` teeth turning with `angle`: radial for a gear, sawn one way (the sign of
// `saw`) for a ratchet.
void toothedRing(cpVect centre, double angle, int teeth, double saw) {
  std::vector<cpVect> points;
  for (int i = 0; i < teeth; ++i) {
    const double t = angle + 2.0 * kPi * i / teeth, step = 2.0 * kPi / teeth;
    if (saw != 0.0) {  // each tooth rises along the ring, then drops back
      const double way = std::copysign(step, saw);
      for (int j = 0; j <= 6; ++j)
        points.push_back(
            cpvadd(centre, cpvmult(cpvforangle(t + way * j / 6), kHub + kTooth * j / 6)));
      points.push_back(cpvadd(centre, cpvmult(cpvforangle(t + way), kHub)));
    } else {
      for (const cpVect& p : arc(centre, kHub, t, t + step)) points.push_back(p);
    }
  }
  strip(points, saw != 0.0 ? GL_LINE_STRIP : GL_LINE_LOOP);
  if (saw != 0.0) return;
  glBegin(GL_LINES);
  for (int i = 0; i < teeth; ++i) {
    const cpVect d = cpvforangle(angle + 2.0 * kPi * i / teeth);
    vertex(cpvadd(centre, cpvmult(d, kHub))), vertex(cpvadd(centre, cpvmult(d, kHub + kTooth)));
  }
  glEnd();
}

// Joints declared in the scene other than pin and slide.
void drawSceneJoint(cpConstraint* joint) {
  cpBody* body_a = cpConstraintGetBodyA(joint);
  cpBody* body_b = cpConstraintGetBodyB(joint);
  if (cpConstraintIsPivotJoint(joint)) {  // a ring where a holds it, a dot where b does
    const cpVect a = cpBodyLocalToWorld(body_a, cpPivotJointGetAnchorA(joint));
    glColor4fv(kPoint);
    strip(arc(a, kPivotRing, 0.0, 2.0 * kPi), GL_LINE_LOOP);
    strip({cpBodyLocalToWorld(body_b, cpPivotJointGetAnchorB(joint))}, GL_POINTS);
  } else if (cpConstraintIsGrooveJoint(joint)) {  // a slot on a, and b's slider in it
    const cpVect g1 = cpBodyLocalToWorld(body_a, cpGrooveJointGetGrooveA(joint)),
                 g2 = cpBodyLocalToWorld(body_a, cpGrooveJointGetGrooveB(joint));
    const cpVect side = cpvmult(cpvnormalize(cpvperp(cpvsub(g2, g1))), 3.0);
    glColor4fv(kPoint);
    strip({cpvadd(g1, side), cpvadd(g2, side), cpvsub(g2, side), cpvsub(g1, side)}, GL_LINE_LOOP);
    strip({cpBodyLocalToWorld(body_b, cpGrooveJointGetAnchorB(joint))}, GL_POINTS);
  } else if (cpConstraintIsDampedSpring(joint)) {
    const cpVect a = cpBodyLocalToWorld(body_a, cpDampedSpringGetAnchorA(joint)),
                 b = cpBodyLocalToWorld(body_b, cpDampedSpringGetAnchorB(joint));
    glColor4fv(kSpring);
    strip(zigzag(a, b, 6.0, int(std::clamp(cpvdist(a, b) / 8.0, 4.0, 40.0))));
    strip({a, b}, GL_POINTS);
  } else if (cpConstraintIsDampedRotarySpring(joint)) {  // a coil, turning with its body
    cpBody* hub = hubOf(joint);
    const cpVect c = cpBodyGetPosition(hub);
    const double turn = cpBodyGetAngle(hub), turns = 2.5 * 2.0 * kPi;
    std::vector<cpVect> coil;
    for (int i = 0; i <= 80; ++i)
      coil.push_back(
          cpvadd(c, cpvmult(cpvforangle(turn + turns * i / 80), 3.0 + (kHub - 3.0) * i / 80)));
    glColor4fv(kSpring);
    strip(coil);
  } else if (cpConstraintIsRotaryLimitJoint(joint)) {
    // The arc of angles the hub may take against the other body (the library limits b's angle
    // less a's), ticks at its ends, and a needle at the hub's angle.
    cpBody* hub = hubOf(joint);
    const cpVect c = cpBodyGetPosition(hub);
    const double min = cpRotaryLimitJointGetMin(joint), max = cpRotaryLimitJointGetMax(joint);
    const double low = hub == body_b ? cpBodyGetAngle(body_a) + min : cpBodyGetAngle(body_b) - max,
                 high = std::min(low + (max - min), low + 2.0 * kPi);
    glColor4fv(kAngle);
    strip(arc(c, kHub, low, high));
    glBegin(GL_LINES);
    for (double t : {low, high})
      vertex(cpvadd(c, cpvmult(cpvforangle(t), kHub - kTooth))),
          vertex(cpvadd(c, cpvmult(cpvforangle(t), kHub + kTooth)));
    vertex(c), vertex(cpvadd(c, cpvmult(cpvforangle(cpBodyGetAngle(hub)), kHub)));
    glEnd();
  } else if (cpConstraintIsRatchetJoint(joint)) {
    cpBody* hub = hubOf(joint);
    const double ratchet = cpRatchetJointGetRatchet(joint);
    const int teeth = int(std::lround(std::clamp(2.0 * kPi / std::fabs(ratchet), 4.0, 16.0)));
    glColor4fv(kAngle);
    toothedRing(cpBodyGetPosition(hub), cpBodyGetAngle(hub) + cpRatchetJointGetPhase(joint), teeth,
                ratchet);
  } else if (cpConstraintIsGearJoint(joint)) {  // a gear wheel on each body, dotted together
    glColor4fv(kAngle);
    for (cpBody* body : {body_a, body_b})
      toothedRing(cpBodyGetPosition(body), cpBodyGetAngle(body), 8, 0.0);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(1, 0x0F0F);
    strip({cpBodyGetPosition(body_a), cpBodyGetPosition(body_b)}, GL_LINES);
    glDisable(GL_LINE_STIPPLE);
  } else if (cpConstraintIsSimpleMotor(joint)) {
    // Three quarters of a circle from the body's angle, the arrow head the way the motor turns
    // it: the library holds a's spin less b's at the rate.
    cpBody* hub = hubOf(joint);
    const cpVect c = cpBodyGetPosition(hub);
    const double rate = cpSimpleMotorGetRate(joint) * (hub == body_a ? 1.0 : -1.0),
                 from = cpBodyGetAngle(hub), to = from + std::copysign(1.5 * kPi, rate);
    glColor4fv(kAngle);
    strip(arc(c, kHub, from, to));
    if (rate == 0.0) return;
    const cpVect tip = cpvadd(c, cpvmult(cpvforangle(to), kHub)),
                 back = cpvmult(cpvforangle(to - std::copysign(0.5 * kPi, rate)), 7.0);
    const cpVect out = cpvmult(cpvforangle(to), 5.0);
    strip({cpvadd(cpvadd(tip, back), out), tip, cpvsub(cpvadd(tip, back), out)});
  }
}

// Pin joints as a solid line between their anchors, slide joints as a dashed one; the anchors
// as dots. Pivot joints without a scene joint belong to ropes, whose segments are drawn on
// their own.
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
    if (cpConstraintGetUserData(joint)) drawSceneJoint(joint);
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

void drawPhysicsDebug(const World& world, const View& view) {
  initGlState(view);  // the glow frame leaves its own projection and viewport behind
  glLineWidth(1.5f);
  glPointSize(5.0f);
  cpSpaceDebugDrawOptions shapes{};
  shapes.drawCircle = drawCircle;
  shapes.drawSegment = [](cpVect, cpVect, cpSpaceDebugColor, cpDataPointer) { drawNothing(); };
  shapes.drawFatSegment = drawFatSegment;
  shapes.drawPolygon = drawPolygon;
  shapes.drawDot = [](cpFloat, cpVect, cpSpaceDebugColor, cpDataPointer) { drawNothing(); };
  shapes.flags = CP_SPACE_DEBUG_DRAW_SHAPES;
  shapes.colorForShape = shapeColour;
  cpSpaceDebugDraw(world.space, &shapes);
  // The library's own joint pictures would draw every rope pivot; ours tell the kinds apart.
  cpSpaceEachConstraint(world.space, drawConstraint, nullptr);
  glColor4fv(kRopeSegment);
  glBegin(GL_POINTS);
  for (const BuiltRope& rope : world.ropes)
    for (cpBody* segment : rope.segments) vertex(cpBodyGetPosition(segment));
  glEnd();
}
