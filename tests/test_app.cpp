// The shell's decisions without a window: arguments, tick timing, scroller movement,
// cursor, and what a reset does with the scene it reads.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <vector>

#include "app/args.h"
#include "test_support.h"
#include "world/physics.h"

namespace {

TEST(Arguments, TableAndHelp) {
  struct Row {
    std::vector<const char*> args;
    const char* scene;
    bool fullscreen;
    const char* help;
  } rows[] = {
      {{}, "scene.txt", false, nullptr},
      {{"--scene", "a.txt", "--scene", "b.txt"}, "b.txt", false, nullptr},
      {{"--bogus", "--scene"}, "scene.txt", false, nullptr},
      {{"--scene", "--fullscreen"}, "--fullscreen", false, nullptr},
      {{"--scene", "-h", "--FULLSCREEN", "-H"}, "-h", false, nullptr},
      {{"--fullscreen", "-?", "--scene", "b"}, "scene.txt", true, "-?"},
      {{"-help", "--fullscreen"}, "scene.txt", false, "-help"},
      {{"--scene", "a", "--help", "-h"}, "a", false, "--help"},
  };
  for (Row& row : rows) {
    row.args.insert(row.args.begin(), "quillmoor");
    const Arguments a = readArguments(static_cast<int>(row.args.size()),
                                      const_cast<char**>(row.args.data()), "scene.txt");
    EXPECT_STREQ(a.scene_file, row.scene) << row.args.size();
    EXPECT_EQ(a.fullscreen, row.fullscreen) << row.args.size();
    EXPECT_STREQ(a.help_option, row.help) << row.args.size();
  }
  testing::internal::CaptureStdout();
  printUsage("-?");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Unrecognized command line parameter: '-?'\n\nList of parameters:\n"
            "   --fullscreen\n   --scene <scene_file_name>\n");
}

TEST(TickPlan, DelaySubstepsAndRatesThatCannotTick) {
  const TickPlan none = planTick(nullptr);
  EXPECT_EQ(none.delay_ms, 16u);
  EXPECT_EQ(none.substeps, 1);
  EXPECT_DOUBLE_EQ(none.dt, 1.0 / 60);
  EXPECT_EQ(none.scroller_speed, 0.0f);
  struct Row {
    float fps;
    int steps;
    unsigned delay;
    int substeps;
    double dt;
  } rows[] = {{60, 4, 16, 4, 1.0 / 240},
              {30, 1, 33, 1, 1.0 / 30},
              {100, 1, 10, 1, 0.01},
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
  for (const Row& row : rows) {
    Scene s;
    s.settings.fps = row.fps;
    s.settings.step_iterations = row.steps;
    const TickPlan plan = planTick(&s);
    EXPECT_EQ(plan.delay_ms, row.delay) << row.fps;
    EXPECT_EQ(plan.substeps, row.substeps) << row.fps;
    if (row.substeps > 0) {
      EXPECT_NEAR(plan.dt / row.dt, 1.0, 1e-6) << row.fps;
    }
  }
}

TEST(Scroller, MovesAndWraps) {
  Scroller s{"", 1024.0f, 0.0f};
  EXPECT_FALSE(advanceScroller(s, 300.0f, 60.0f));
  EXPECT_FLOAT_EQ(s.x, 1019.0f);
  s.x = -4.0f;  // empty text: wraps once x reaches -10
  EXPECT_FALSE(advanceScroller(s, 300.0f, 60.0f));
  EXPECT_TRUE(advanceScroller(s, 300.0f, 60.0f));
  s = {"", -505.0f, 500.0f};  // 500 wide: wraps at -510, not before
  EXPECT_TRUE(advanceScroller(s, 300.0f, 60.0f));
  s = {"", -504.0f, 500.0f};
  EXPECT_FALSE(advanceScroller(s, 300.0f, 60.0f));
  s = {"", 1024.0f, 10.0f};  // a negative speed moves right, never wrapping
  for (int i = 0; i < 100; ++i) EXPECT_FALSE(advanceScroller(s, -300.0f, 60.0f));
  EXPECT_FLOAT_EQ(s.x, 1524.0f);
}

TEST(Cursor, HiddenOnlyFullscreenWithASceneThatAsks) {
  Scene hides, shows;
  shows.settings.mouse_hide_in_fullscreen = false;
  EXPECT_EQ(cursorFor(&hides, true), GLUT_CURSOR_NONE);
  EXPECT_EQ(cursorFor(&hides, false), GLUT_CURSOR_FULL_CROSSHAIR);
  EXPECT_EQ(cursorFor(&shows, true), GLUT_CURSOR_FULL_CROSSHAIR);
  EXPECT_EQ(cursorFor(nullptr, true), GLUT_CURSOR_FULL_CROSSHAIR);
}

using Reset = ScratchDir;

TEST_F(Reset, SpaceSettingsScrollerTextAndMissingFile) {
  ASSERT_TRUE(
      load("scene_solver_iterations 7\nscene_gravity 0.1 500\nscene_damping 0.1\n"
           "scene_scroller_text  Hi \n"));
  EXPECT_EQ(cpSpaceGetIterations(space()), 7);
  EXPECT_EQ(cpSpaceGetGravity(space()).x, static_cast<double>(0.1f));
  EXPECT_EQ(cpSpaceGetDamping(space()), static_cast<double>(0.1f));
  EXPECT_EQ(app_.scroller.text, "  Hi ");

  cpSpace* before = space();
  EXPECT_EQ(loadFile("new.txt"), nullptr);  // a new, default space and an empty text
  EXPECT_NE(space(), before);
  EXPECT_EQ(cpSpaceGetIterations(space()), 10);
  EXPECT_EQ(app_.scroller.text, "");
  write("new.txt", "scene_gravity 0 9\n");  // created afterwards, it loads on the next reset
  ASSERT_TRUE(loadFile("new.txt"));
  EXPECT_EQ(cpSpaceGetGravity(space()).y, 9.0);

  // Values the library would abort on keep its defaults; iterations are capped.
  for (const char* text :
       {"scene_solver_iterations 0\nscene_gravity nan 5\nscene_damping -1\n",
        "scene_solver_iterations -4\nscene_gravity 3 1e39\nscene_damping inf\n"}) {
    ASSERT_TRUE(load(text));
    EXPECT_EQ(cpSpaceGetIterations(space()), 10) << text;
    EXPECT_TRUE(cpveql(cpSpaceGetGravity(space()), cpvzero)) << text;
    EXPECT_EQ(cpSpaceGetDamping(space()), 1.0) << text;
  }
  ASSERT_TRUE(load("scene_solver_iterations 2000000000\n"));
  EXPECT_EQ(cpSpaceGetIterations(space()), kMaxSolverIterations);
}

TEST_F(Reset, AThousandReloadsDoNotGrowMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's quarantine holds freed memory; its leak check covers this";
#endif
  write("box.obj", "v -10 0 -10\nv 10 0 -10\nv 10 0 10\nv -10 0 10\nf 1 2 3 4\n");
  write("scene.txt",
        "new_obj a\nobj_mesh box.obj\nobj_col_mesh box.obj\nobj_pos 100 100\n"
        "new_obj b\nobj_col_line 0 0 9 9\nnew_joint_pin\njoint_obj_a a\njoint_obj_b b\n"
        "new_rope\nrope_obj_a a\nrope_anchor_b 300 0\n");
  app_.scene_file = "scene.txt";
  auto pages = [] {
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
  // Keeping even one scene per reload would add tens of megabytes.
  EXPECT_LT(pages() - warmed, 256);
}

}  // namespace
