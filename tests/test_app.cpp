// The shell's decisions without a window: arguments, tick timing, scroller movement, cursor,
// and what a reset does with the scene it reads.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <vector>

#include "app/args.h"
#include "test_support.h"

namespace {

TEST(Arguments, TheLastSceneCountsAndAHelpOptionStopsReading) {
  const struct {
    std::vector<const char*> args;
    const char *scene, *help;
    bool fullscreen;
  } rows[] = {{{}, "scene.txt", nullptr, false},
              {{"--scene", "a.txt", "--bogus", "--scene", "b.txt"}, "b.txt", nullptr, false},
              {{"--scene", "--fullscreen"}, "--fullscreen", nullptr, false},
              {{"--scene", "-h", "--FULLSCREEN", "-H", "--scene"}, "-h", nullptr, false},
              {{"--fullscreen", "-?", "--scene", "b"}, "scene.txt", "-?", true},
              {{"-help", "--fullscreen"}, "scene.txt", "-help", false},
              {{"--scene", "a", "--help", "-h"}, "a", "--help", false}};
  for (auto [args, scene, help, fullscreen] : rows) {
    args.insert(args.begin(), "quillmoor");
    const Arguments a =
        readArguments(static_cast<int>(args.size()), const_cast<char**>(args.data()), "scene.txt");
    EXPECT_STREQ(a.scene_file, scene) << args.size();
    EXPECT_STREQ(a.help_option, help) << args.size();
    EXPECT_EQ(a.fullscreen, fullscreen) << args.size();
  }
}

TEST(TickPlan, DelaySubstepsAndRatesThatCannotTick) {
  const struct {
    float fps;
    int steps;
    unsigned delay;
    int substeps;
    double dt;
  } rows[] = {{60, 4, 16, 4, 1.0 / 240},
              {30, 1, 33, 1, 1.0 / 30},
              {1000, 1, 1, 1, 0.001},
              {2000, 3, 0, 3, 1.0 / 6000},
              {0.5f, 1, 2000, 1, 2},
              {60, 0, 16, 0, 0},
              {60, 2000000000, 16, kMaxSubsteps, 1.0 / 60 / kMaxSubsteps},
              // Rates that would divide by zero or never tick run at 60.
              {0, 2, 16, 2, 1.0 / 120},
              {-30, 1, 16, 1, 1.0 / 60},
              {NAN, 1, 16, 1, 1.0 / 60},
              {INFINITY, 1, 16, 1, 1.0 / 60},
              // A tiny rate keeps its delay within the timer's range.
              {1e-30f, 1, INT_MAX, 1, 1e30}};
  for (const auto& [fps, steps, delay, substeps, dt] : rows) {
    Scene s;
    s.settings.fps = fps;
    s.settings.step_iterations = steps;
    s.settings.scroller_text_speed = 7;
    const TickPlan plan = planTick(&s);
    EXPECT_TRUE(plan.delay_ms == delay && plan.substeps == substeps) << fps << " " << steps;
    EXPECT_NEAR(plan.dt, dt, dt * 1e-6) << fps << " " << steps;
    EXPECT_EQ(plan.scroller_speed, 7.0f);
  }
  const TickPlan none = planTick(nullptr);  // without a scene: 60 per second, no scrolling
  EXPECT_TRUE(none.delay_ms == 16 && none.substeps == 1 && none.scroller_speed == 0.0f);
  EXPECT_DOUBLE_EQ(none.dt, 1.0 / 60);
}

TEST(Scroller, MovesLeftBySpeedOverRateAndWrapsTenPastTheLeftEdge) {
  const struct {
    float x, width, speed;
    bool wraps;
    float then;
  } rows[] = {{1024, 0, 300, false, 1019},   {-4, 0, 300, false, -9},
              {-9, 0, 300, true, -14},       {-505, 500, 300, true, -510},
              {-504, 500, 300, false, -509}, {1024, 10, -300, false, 1029}};
  for (const auto& [x, width, speed, wraps, then] : rows) {
    Scroller s{"", x, width};
    EXPECT_EQ(advanceScroller(s, speed, 60.0f), wraps) << x;
    EXPECT_FLOAT_EQ(s.x, then) << x;
  }
  Scene hides, shows;  // the cursor hides only full-screen with a scene that asks for it
  shows.settings.mouse_hide_in_fullscreen = false;
  EXPECT_EQ(cursorFor(&hides, true), GLUT_CURSOR_NONE);
  for (auto [scene, fullscreen] : {std::pair{&hides, false}, {&shows, true}, {nullptr, true}})
    EXPECT_EQ(cursorFor(scene, fullscreen), GLUT_CURSOR_FULL_CROSSHAIR);
}

using Reset = ScratchDir;

TEST_F(Reset, ANewSpaceWithTheSceneSettingsAndText) {
  ASSERT_TRUE(
      load("scene_solver_iterations 7\nscene_gravity 0.1 500\nscene_damping 0.25\n"
           "scene_scroller_text  Hi \n"));
  EXPECT_EQ(cpSpaceGetIterations(space()), 7);
  EXPECT_TRUE(cpveql(cpSpaceGetGravity(space()), cpv(0.1f, 500)));
  EXPECT_EQ(cpSpaceGetDamping(space()), 0.25);
  EXPECT_EQ(app_.scroller.text, "  Hi ");

  cpSpace* before = space();
  EXPECT_EQ(loadFile("new.txt"), nullptr);  // a new, default space and an empty text
  EXPECT_NE(space(), before);
  EXPECT_TRUE(cpSpaceGetIterations(space()) == 10 && app_.scroller.text.empty());
  write("new.txt", "scene_gravity 0 9\n");  // created afterwards, it loads on the next reset
  ASSERT_TRUE(loadFile("new.txt"));
  EXPECT_EQ(cpSpaceGetGravity(space()).y, 9.0);
}

TEST_F(Reset, AThousandReloadsDoNotGrowMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's quarantine holds freed memory; its leak check covers this";
#endif
  write("box.obj", "v -10 0 -10\nv 10 0 -10\nv 10 0 10\nv -10 0 10\nf 1 2 3 4\n");
  load(
      "new_obj a\nobj_mesh box.obj\nobj_col_mesh box.obj\nobj_pos 100 100\nnew_obj b\n"
      "obj_col_line 0 0 9 9\nnew_joint_pin\njoint_obj_a a\njoint_obj_b b\nnew_rope\n"
      "rope_obj_a a\nrope_anchor_b 300 0\n");
  const auto pages = [] {
    long size = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> size >> resident;
    return resident;
  };
  testing::internal::CaptureStdout();
  for (int i = 0; i < 200; ++i) resetWorld(app_);
  const long warmed = pages();
  for (int i = 0; i < 1000; ++i) resetWorld(app_);
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(app_.scene->ropes.at(0)->segments.size(), 23u);
  EXPECT_LT(pages() - warmed, 256);  // keeping even one world per reload adds tens of megabytes
}

}  // namespace
