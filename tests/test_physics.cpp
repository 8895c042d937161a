// The built world moves as the physics says it should, stepped the way the app's tick does.
#include "test_support.h"
#include "world/physics.h"

class Physics : public ScratchDir {
 protected:
  // Loads the scene after a default gravity and iteration count, then ticks, calling watch(tick).
  template <typename Watch>
  void run(const std::string& scene, int ticks, Watch watch) {
    ASSERT_NE(load("scene_gravity 0 500\nscene_step_iterations 4\n" + scene), nullptr);
    const TickPlan plan = planTick(app_.scene.get());
    for (int i = 1; i <= ticks; ++i) stepSpace(space(), plan.substeps, plan.dt), watch(i);
  }
  cpBody* body(const char* name) { return app_.scene->objects.at(name)->body; }
  cpVect at(const char* name) { return body(name) ? cpBodyGetPosition(body(name)) : cpv(NAN, NAN); }
  double low_[4] = {INFINITY, INFINITY, INFINITY, INFINITY}, high_[4] = {};  // distances seen
  void see(int i, double d) { low_[i] = std::fmin(low_[i], d), high_[i] = std::fmax(high_[i], d); }
};

TEST_F(Physics, FreeFallMovesBeforeItSpeedsUp) {
  run("scene_gravity 30 500\nscene_fps 60\nscene_step_iterations 3\nnew_obj stone\nobj_pos 500 "
      "100\n",
      60, [&](int tick) {
        const double fall = 3 * tick * (3 * tick - 1) / 2.0 / (180.0 * 180.0);  // dt^2 n(n-1)/2
        ASSERT_LT(cpvdist(at("stone"), cpv(500 + 30 * fall, 100 + 500 * fall)), 1e-9) << tick;
      });
}

TEST_F(Physics, PendulumPeriodPinLengthsAndSlideRanges) {
  // A bob 200 below its pivot let go 0.05 rad off the vertical, a pin let go level with its pivot
  // with a body pinned under it, slides falling away from and towards their anchors.
  std::vector<double> crossings;  // ticks at which the bob passes under its pivot, interpolated
  double previous = 9.99583;
  run("scene_fps 60\nnew_obj bob\nobj_pos 521.99583 299.75003\nnew_joint_pin\njoint_obj_a bob\n"
      "joint_anchor_b 512 100\nnew_obj swing\nobj_pos 350 200\nnew_joint_pin\njoint_obj_a swing\n"
      "joint_anchor_b 200 200\nnew_obj tail\nobj_pos 350 300\nnew_joint_pin\njoint_obj_a "
      "swing\njoint_obj_b tail\n"
      "new_obj away\nobj_pos 700 100\nnew_joint_slide\njoint_obj_a away\njoint_anchor_b 600 100\n"
      "joint_slide_min 150\njoint_slide_max 50\nnew_obj towards\nobj_pos 900 100\nnew_joint_slide\n"
      "joint_obj_a towards\njoint_anchor_b 900 200\njoint_slide_min 50\njoint_slide_max 150\n",
      60 * 20, [&](int tick) {
        const double x = at("bob").x - 512;
        if ((previous > 0) != (x > 0)) crossings.push_back(tick - 1 + previous / (previous - x));
        previous = x;
        see(0, cpvdist(at("swing"), cpv(200, 200)));
        see(1, cpvdist(at("swing"), at("tail")));
        see(2, cpvdist(at("away"), cpv(600, 100)));
        see(3, cpvdist(at("towards"), cpv(900, 200)));
      });
  ASSERT_GE(crossings.size(), 9u);
  const double period =
      2 * (crossings.back() - crossings.front()) / (crossings.size() - 1) / 60;  // s
  EXPECT_NEAR(period / (2 * M_PI * std::sqrt(200.0 / 500)), 1.0, 0.01) << period;
  const double bounds[4][2] = {
      {147, 153}, {98, 102}, {49, 153}, {49, 153}};  // lengths or ranges, 2 %
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(low_[i] > bounds[i][0] && high_[i] < bounds[i][1])
        << i << ": " << low_[i] << ".." << high_[i];
  EXPECT_GT(high_[2], 147);  // each slide reaches the end gravity pulls it to
  EXPECT_NEAR(cpvdist(at("towards"), cpv(900, 200)), 50, 1.0);
}

TEST_F(Physics, BoxRestsOnAFloorAndARopeHangsWithoutDrift) {
  write("box.obj", "v -20 0 -20\nv 20 0 -20\nv 20 0 20\nv -20 0 20\nf 1 2 3 4\n");
  run("new_obj floor\nobj_mass 0\nobj_pos 0 700\nobj_col_line 0 0 1024 0 5\nnew_obj box\nobj_pos "
      "512 500\n"
      "obj_col_mesh box.obj\nnew_obj weight\nobj_pos 200 300\nnew_rope\nrope_obj_a "
      "weight\nrope_anchor_b 200 100\n",
      60 * 10, [&](int tick) {
        see(0, cpvdist(at("weight"), cpv(200, 100)));
        if (tick % 300 != 0 || !body("box")) return;  // after 5 and 10 s: on the floor's top, 695
        EXPECT_LT(cpvdist(at("box"), cpv(512, 675)), 0.5) << tick << ": " << at("box").y;
        EXPECT_NEAR(cpBodyGetAngle(body("box")), 0, 1e-3) << tick;
        EXPECT_LT(cpvlength(cpBodyGetVelocity(body("box"))), 1.0) << tick;
      });
  ASSERT_NE(body("box"), nullptr);
  const SceneRope& rope = *app_.scene->ropes.at(0);
  ASSERT_EQ(rope.segments.size(), 21u);
  EXPECT_TRUE(low_[0] > 198 && high_[0] < 202) << low_[0] << ".." << high_[0];
  EXPECT_NEAR(at("weight").x, 200, 0.01);
  EXPECT_NEAR(cpvdist(cpBodyGetPosition(rope.segments.back()), cpv(200, 100)), rope.seg_len / 2,
              0.5);
}
