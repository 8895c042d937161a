// The mouse push: the impulse and its maximum, and where on a body it lands.
#include <gtest/gtest.h>

#include <cmath>

#include "app/mouse.h"
#include "test_support.h"

namespace {

TEST(MouseImpulse, DisplacementTimesForceAndRateStrictlyBelowTheMaximum) {
  const cpVect j = mouseImpulse(cpv(10, 20), cpv(510, 320), 0.1f, 60.0f);
  EXPECT_TRUE(j.x == 500.0 * (0.1f * 60.0f) && j.y == 300.0 * (0.1f * 60.0f));  // in floats
  const struct {
    cpVect j;
    float max;
    bool allowed;
  } rows[] = {{cpv(3, 4), 5.0001f, true},     {cpv(3, -4), 5.0f, false},        // never clamped
              {cpvzero, 0.0f, false},         {cpvzero, -1.0f, false},          // 0 or below: none
              {cpv(NAN, 0), INFINITY, false}, {cpv(1e20, 0), INFINITY, false},  // float overflow
              {cpv(1, 0), NAN, false}};
  for (const auto& [j, max, allowed] : rows)
    EXPECT_EQ(impulseAllowed(j, max), allowed) << j.x << " " << max;
}

class MousePush : public ScratchDir {
 protected:
  // A 20 x 20 square of mass 2 at (500, 300), split along its diagonal from (-10, -10) to
  // (10, 10), and a static one at (100, 100).
  cpBody* box(const std::string& settings = "") {
    writeFile("square.obj", "v -10 0 -10\nv 10 0 -10\nv 10 0 10\nv -10 0 10\nf 1 2 3 4\n");
    EXPECT_TRUE(load(settings +
                     "\nnew_obj box\nobj_col_mesh square.obj\nobj_mass 2\n"
                     "obj_pos 500 300\nnew_obj wall\nobj_col_mesh square.obj\nobj_mass 0\n"
                     "obj_pos 100 100\n"));
    return app_.scene->objects.at("box")->body;
  }
};

TEST_F(MousePush, TurnsTheWayTheBodyFrameSays) {
  cpBody* body = box();
  // j = (4, 10) at (5, 3) from the centre: the offset turned back by the body's angle, crossed
  // with j, over the moment.
  const double rows[][2] = {
      {0, 5 * 10 - 3 * 4}, {M_PI, -5 * 10 + 3 * 4}, {M_PI / 2, 3 * 10 + 5 * 4}};
  for (auto [angle, torque] : rows) {
    cpBodySetAngle(body, angle);
    cpBodySetVelocity(body, cpvzero);
    cpBodySetAngularVelocity(body, 0.0);
    MouseImpulseQuery query{cpv(505, 303), cpv(4, 10)};
    cpSpacePointQuery(space(), query.point, 0.0, CP_SHAPE_FILTER_ALL, applyMouseImpulse, &query);
    EXPECT_TRUE(cpveql(cpBodyGetVelocity(body), cpv(2, 5))) << angle;  // one triangle holds it
    EXPECT_NEAR(cpBodyGetAngularVelocity(body), torque / cpBodyGetMoment(body), 1e-12) << angle;
  }
}

TEST_F(MousePush, AnEdgeCountsAsInsideEachTriangleItBounds) {
  cpBody* body = box();
  const struct {
    cpVect point;
    int pushes;
  } rows[] = {{cpv(503, 303), 2},
              {cpv(503, 302), 1},
              {cpv(510, 300), 1},
              {cpv(510.001, 300), 0},
              {cpv(100, 100), 0}};  // the static square
  for (auto [point, pushes] : rows) {
    cpBodySetVelocity(body, cpvzero);
    app_.previous_mouse = cpv(point.x - 1, point.y);
    pushAt(app_, point);  // j = (6, 0) on a mass of 2, once for each triangle under the point
    EXPECT_DOUBLE_EQ(cpBodyGetVelocity(body).x, 3.0 * pushes) << point.x << "," << point.y;
    EXPECT_TRUE(cpveql(app_.previous_mouse, point));
  }
  body = box("scene_mouse_impulse_force_max 0");
  pushAt(app_, cpv(500, 300));  // even a zero push is not below a maximum of 0
  EXPECT_TRUE(cpveql(cpBodyGetVelocity(body), cpvzero));
  EXPECT_EQ(loadFile("none.txt"), nullptr);  // no scene: only the position moves
  pushAt(app_, cpv(42, 43));
  EXPECT_TRUE(cpveql(app_.previous_mouse, cpv(42, 43)));
}

// The viewer's tick steps alongside the frame: the frame gets the poses from before the step,
// pushes that arrive meanwhile act after it, and the world ends where plain steps leave it.
TEST_F(MousePush, OverlappedTicksDrawOneBehindAndPushBetweenTheSameSteps) {
  cpBody* body = box("scene_gravity 0 100");
  AppState plain;
  plain.scene_file = "scene.txt";
  testing::internal::CaptureStdout();
  resetWorld(plain);
  testing::internal::GetCapturedStdout();
  cpBody* twin = plain.scene->objects.at("box")->body;
  app_.previous_mouse = plain.previous_mouse = cpv(495, 301);
  for (int i = 0; i < 5; ++i) {
    const cpVect before = cpBodyGetPosition(body);
    const TickPlan plan = startStep(app_);
    app_.queued_pushes.push_back(cpv(496 + i, 301));
    finishStep(app_);
    EXPECT_TRUE(cpveql(app_.poses.objects.at(0).p, before)) << i;
    stepSpace(plain.space, plan.substeps, plan.dt);
    pushAt(plain, cpv(496 + i, 301));
  }
  EXPECT_GT(cpBodyGetVelocity(body).x, 0.0);
  EXPECT_TRUE(cpveql(cpBodyGetPosition(body), cpBodyGetPosition(twin)) &&
              cpveql(cpBodyGetVelocity(body), cpBodyGetVelocity(twin)));
  releaseWorld(plain);
}

}  // namespace
