// The mouse push: window-to-world mapping, the impulse and its maximum, and where on a body
// it lands.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>

#include "app/mouse.h"
#include "test_support.h"
#include "world/physics.h"

namespace {

// The world view's matrices: identity model-view and the 1024 x 768 y-down projection.
cpVect unproject(int x, int y, int width, int height) {
  const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  // glOrtho(0, 1024, 768, 0, -1, 1), column-major.
  const double ortho[16] = {2.0 / 1024, 0, 0, 0, 0, -2.0 / 768, 0, 0, 0, 0, -1, 0, -1, 1, 0, 1};
  const int viewport[4] = {0, 0, width, height};
  return unprojectMouse(x, y, height, identity, ortho, viewport);
}

TEST(MouseToWorld, StretchesTheWorldOverTheWindow) {
  const int pixels[][2] = {{0, 0}, {500, 300}, {1023, 767}, {1024, 768}};
  for (auto [x, y] : pixels) {
    const cpVect p = unproject(x, y, 1024, 768);
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
  }
  cpVect p = unproject(256, 192, 512, 384);
  EXPECT_NEAR(p.x, 512.0, 1e-9);
  EXPECT_NEAR(p.y, 384.0, 1e-9);
  p = unproject(100, 700, 2048, 1400);
  EXPECT_NEAR(p.x, 50.0, 1e-9);
  EXPECT_NEAR(p.y, 700.0 * 768 / 1400, 1e-9);
}

TEST(MouseImpulse, FollowsTheDisplacementAsIfItTookOneFrame) {
  const float k = 0.1f * 60.0f;  // single precision, as the push computes it
  cpVect j = mouseImpulse(cpvzero, cpv(500, 300), 0.1f, 60.0f);
  EXPECT_DOUBLE_EQ(j.x, 500.0 * k);
  EXPECT_DOUBLE_EQ(j.y, 300.0 * k);
  EXPECT_NEAR(j.x, 3000.0, 1e-3);
  EXPECT_TRUE(impulseAllowed(j, 99999.0f));

  j = mouseImpulse(cpv(10, 10), cpv(12, 10), 0.1f, 60.0f);
  EXPECT_NEAR(j.x, 12.0, 1e-5);
  EXPECT_EQ(j.y, 0.0);
}

TEST(MouseImpulse, OnlyStrictlyBelowTheMaximum) {
  EXPECT_TRUE(impulseAllowed(cpv(3, 4), 5.0001f));
  EXPECT_FALSE(impulseAllowed(cpv(3, 4), 5.0f));  // equal: nothing at all, never clamped
  EXPECT_FALSE(impulseAllowed(cpv(300, 400), 5.0f));
  EXPECT_FALSE(impulseAllowed(cpvzero, 0.0f));  // 0 or below disables the push
  EXPECT_FALSE(impulseAllowed(cpvzero, -1.0f));
  EXPECT_TRUE(impulseAllowed(cpvzero, 1e-30f));
  // Non-finite impulses never pass, whatever the maximum.
  EXPECT_FALSE(impulseAllowed(cpv(NAN, 0), INFINITY));
  EXPECT_FALSE(impulseAllowed(cpv(INFINITY, 0), INFINITY));
  EXPECT_FALSE(impulseAllowed(cpv(1e20, 0), INFINITY));  // its square overflows a float
  EXPECT_FALSE(impulseAllowed(cpv(1, 0), NAN));
}

class MousePush : public ScratchDir {
 protected:
  // A 20 x 20 square of mass 2 centred on its origin, at (500, 300), without gravity; a
  // static square at (100, 100); a rope hanging in free space.
  cpBody* box() {
    write("square.obj", "v -10 0 -10\nv 10 0 -10\nv 10 0 10\nv -10 0 10\nf 1 2 3 4\n");
    EXPECT_TRUE(load(std::string("scene_mouse_impulse_force_max ") + max_ +
                     "\nnew_obj box\nobj_col_mesh square.obj\nobj_mass 2\nobj_pos 500 300\n"
                     "new_obj wall\nobj_col_mesh square.obj\nobj_mass 0\nobj_pos 100 100\n"
                     "new_rope\nrope_obj_a box\nrope_anchor_b 700 300\n"));
    return app_.scene->objects.at("box")->body;
  }
  const char* max_ = "99999";
};

TEST_F(MousePush, TurnsTheWayTheBodyFrameSays) {
  cpBody* body = box();
  const double i_inv = 1.0 / cpBodyGetMoment(body);
  // A downward push 5 units right of the centre, for the body at 0, a half and a quarter turn.
  const double angles[] = {0.0, M_PI, M_PI / 2};
  const double expected_spin[] = {i_inv * 5 * 10, -i_inv * 5 * 10, 0.0};
  for (int i = 0; i < 3; ++i) {
    cpBodySetAngle(body, angles[i]);
    cpBodySetVelocity(body, cpvzero);
    cpBodySetAngularVelocity(body, 0.0);
    MouseImpulseQuery query{cpv(505, 300), cpv(0, 10)};
    applyMouseImpulse(nullptr, query.point, 0, cpvzero, &query);
    EXPECT_EQ(cpBodyGetVelocity(body).y, 0.0) << "no shape: nothing";
    cpSpacePointQuery(space(), query.point, 0.0, CP_SHAPE_FILTER_ALL, applyMouseImpulse, &query);
    // Two triangles share the diagonal; the point lies inside exactly one of them.
    EXPECT_DOUBLE_EQ(cpBodyGetVelocity(body).y, 10.0 / 2) << angles[i];
    EXPECT_NEAR(cpBodyGetAngularVelocity(body), expected_spin[i], 1e-12) << angles[i];
  }
}

TEST_F(MousePush, MovesOnlyMovingShapesUnderTheCursor) {
  cpBody* body = box();
  app_.previous_mouse = cpv(495, 300);
  pushAt(app_, cpv(497, 302));  // j = (2, 2) x 6
  EXPECT_NEAR(cpBodyGetVelocity(body).x, 12.0 / 2, 1e-5);
  EXPECT_NEAR(cpBodyGetVelocity(body).y, 12.0 / 2, 1e-5);
  EXPECT_EQ(app_.previous_mouse.x, 497.0);

  // Static shapes and rope segments are never pushed; the position is still recorded.
  const cpVect v = cpBodyGetVelocity(body);
  pushAt(app_, cpv(100, 100));
  pushAt(app_, cpv(600, 300));
  pushAt(app_, cpv(601, 300));
  EXPECT_TRUE(cpveql(cpBodyGetVelocity(body), v));
  for (cpBody* segment : app_.scene->ropes[0]->segments)
    EXPECT_TRUE(cpveql(cpBodyGetVelocity(segment), cpvzero));
  EXPECT_EQ(app_.previous_mouse.x, 601.0);
}

TEST_F(MousePush, AMaximumOfZeroDisablesIt) {
  max_ = "0";
  cpBody* body = box();
  app_.previous_mouse = cpv(500, 300);
  pushAt(app_, cpv(500, 300));  // a zero impulse is not below a maximum of 0
  pushAt(app_, cpv(501, 300));
  EXPECT_TRUE(cpveql(cpBodyGetVelocity(body), cpvzero));
  EXPECT_EQ(cpBodyGetAngularVelocity(body), 0.0);
}

TEST_F(MousePush, WithoutASceneOnlyThePositionMoves) {
  EXPECT_EQ(loadFile("none.txt"), nullptr);
  pushAt(app_, cpv(42, 43));
  EXPECT_TRUE(cpveql(app_.previous_mouse, cpv(42, 43)));
}

TEST_F(MousePush, NonFiniteSettingsNeverReachABody) {
  for (const char* force : {"nan", "inf", "-inf", "1e38"}) {
    write("square.obj", "v -10 0 -10\nv 10 0 -10\nv 10 0 10\nv -10 0 10\nf 1 2 3 4\n");
    ASSERT_TRUE(load(std::string("scene_mouse_impulse_force ") + force +
                     "\nscene_mouse_impulse_force_max inf\nscene_fps 1e38\n"
                     "new_obj\nobj_col_mesh square.obj\nobj_pos 500 300\n"));
    cpBody* body = app_.scene->objects.begin()->second->body;
    app_.previous_mouse = cpv(499, 300);
    pushAt(app_, cpv(500, 300));
    stepSpace(space(), 1, 1.0 / 60);
    EXPECT_TRUE(std::isfinite(cpBodyGetVelocity(body).x)) << force;
    EXPECT_TRUE(std::isfinite(cpBodyGetPosition(body).x)) << force;
  }
}

}  // namespace
