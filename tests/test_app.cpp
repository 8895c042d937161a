// The shell's decisions without a window: arguments, tick timing, scroller movement,
// cursor, and what a reset does with the scene it reads.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <vector>

#include "app/args.h"
#include "app/frame_loop.h"
#include "test_support.h"
#include "world/physics.h"

namespace {

Arguments read(std::vector<const char*> args) {
  args.insert(args.begin(), "quillmoor");
  return readArguments(static_cast<int>(args.size()), const_cast<char**>(args.data()), "scene.txt");
}

TEST(Arguments, SceneFullscreenAndSkippedArguments) {
  Arguments a = read({});
  EXPECT_STREQ(a.scene_file, "scene.txt");
  EXPECT_FALSE(a.fullscreen);
  EXPECT_EQ(a.help_option, nullptr);

  EXPECT_STREQ(read({"--scene", "my.txt"}).scene_file, "my.txt");
  EXPECT_STREQ(read({"--scene", "a.txt", "--scene", "b.txt"}).scene_file, "b.txt");
  EXPECT_STREQ(read({"--scene"}).scene_file, "scene.txt");
  EXPECT_STREQ(read({"--bogus", "--scene", "x", "SCENE"}).scene_file, "x");

  a = read({"--scene", "--fullscreen"});
  EXPECT_STREQ(a.scene_file, "--fullscreen");
  EXPECT_FALSE(a.fullscreen);
  EXPECT_TRUE(read({"--bogus", "--fullscreen"}).fullscreen);
  EXPECT_FALSE(read({"--FULLSCREEN", "-fullscreen"}).fullscreen);
}

TEST(Arguments, HelpStopsReading) {
  for (const char* option : {"-h", "-help", "--help", "-?"}) {
    EXPECT_STREQ(read({"--scene", "a", option, "--scene", "b"}).help_option, option);
    EXPECT_STREQ(read({"--scene", "a", option, "--scene", "b"}).scene_file, "a");
  }
  EXPECT_EQ(read({"-H", "--h", "help"}).help_option, nullptr);
  const Arguments before = read({"--fullscreen", "-h"});
  EXPECT_TRUE(before.fullscreen);
  EXPECT_STREQ(before.help_option, "-h");
  EXPECT_FALSE(read({"-h", "--fullscreen"}).fullscreen);
  // The argument after --scene is a file name, even one that looks like a help option.
  EXPECT_EQ(read({"--scene", "-h"}).help_option, nullptr);

  testing::internal::CaptureStdout();
  printUsage("-?");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Unrecognized command line parameter: '-?'\n\nList of parameters:\n"
            "   --fullscreen\n   --scene <scene_file_name>\n");
}

Scene sceneWith(float fps, int substeps) {
  Scene scene;
  scene.settings.fps = fps;
  scene.settings.step_iterations = substeps;
  return scene;
}

TEST(TickPlan, DelayAndSubsteps) {
  const TickPlan none = planTick(nullptr);
  EXPECT_EQ(none.delay_ms, 16u);
  EXPECT_EQ(none.substeps, 1);
  EXPECT_DOUBLE_EQ(none.dt, 1.0 / 60.0);
  EXPECT_EQ(none.scroller_speed, 0.0f);

  Scene s = sceneWith(60.0f, 4);
  TickPlan plan = planTick(&s);
  EXPECT_EQ(plan.delay_ms, 16u);
  EXPECT_EQ(plan.substeps, 4);
  EXPECT_DOUBLE_EQ(plan.dt, 1.0 / 240.0);
  EXPECT_EQ(plan.scroller_speed, 300.0f);

  const std::pair<float, unsigned> delays[] = {{30, 33}, {100, 10}, {1000, 1}, {1001, 0}, {2000, 0}, {0.5f, 2000}};
  for (auto [fps, delay] : delays) {
    s = sceneWith(fps, 1);
    EXPECT_EQ(planTick(&s).delay_ms, delay) << fps;
  }
  s = sceneWith(2000.0f, 3);
  EXPECT_DOUBLE_EQ(planTick(&s).dt, (1.0 / 2000.0) / 3);
  s = sceneWith(60.0f, 0);
  EXPECT_EQ(planTick(&s).substeps, 0);
  s = sceneWith(60.0f, -3);
  EXPECT_LE(planTick(&s).substeps, 0);
}

TEST(TickPlan, FrameRatesThatCannotTickActAsSixty) {
  for (float fps : {0.0f, -0.0f, -30.0f, NAN, INFINITY, -INFINITY}) {
    Scene s = sceneWith(fps, 2);
    const TickPlan plan = planTick(&s);
    EXPECT_EQ(plan.fps, 60.0f) << fps;
    EXPECT_EQ(plan.delay_ms, 16u) << fps;
    EXPECT_DOUBLE_EQ(plan.dt, 1.0 / 120.0) << fps;
  }
  // A tiny rate stays as given, but its delay is kept within the timer's range.
  Scene slow = sceneWith(1e-30f, 1);
  EXPECT_EQ(planTick(&slow).delay_ms, static_cast<unsigned>(INT_MAX));
  // A huge substep count would freeze the window; it is capped, the tick's length kept.
  Scene busy = sceneWith(60.0f, 2000000000);
  EXPECT_EQ(planTick(&busy).substeps, kMaxSubsteps);
  EXPECT_DOUBLE_EQ(planTick(&busy).dt, (1.0 / 60.0) / kMaxSubsteps);
}

TEST(Scroller, MovesAndWraps) {
  Scroller s{"", 1024.0f, 0.0f};
  EXPECT_FALSE(advanceScroller(s, 300.0f, 60.0f));
  EXPECT_FLOAT_EQ(s.x, 1019.0f);

  // Empty text: wraps as soon as x reaches -10.
  s.x = -4.0f;
  EXPECT_FALSE(advanceScroller(s, 300.0f, 60.0f));
  EXPECT_TRUE(advanceScroller(s, 300.0f, 60.0f));

  // 500 units wide: wraps on the first tick at or below -510.
  s = {"", -500.0f, 500.0f};
  EXPECT_FALSE(advanceScroller(s, 300.0f, 60.0f));  // -505
  EXPECT_TRUE(advanceScroller(s, 300.0f, 60.0f));   // -510
  s = {"", -509.0f, 500.0f};
  EXPECT_TRUE(advanceScroller(s, 60.0f, 60.0f));

  // A negative speed moves right and never wraps.
  s = {"", 1024.0f, 10.0f};
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

TEST_F(Reset, CopiesSettingsIntoTheSpace) {
  ASSERT_TRUE(load("scene_solver_iterations 7\nscene_gravity 0.1 500\nscene_damping 0.1\n"
                   "scene_scroller_text  Hi there \n"));
  EXPECT_EQ(cpSpaceGetIterations(space()), 7);
  EXPECT_EQ(cpSpaceGetGravity(space()).x, static_cast<double>(0.1f));
  EXPECT_EQ(cpSpaceGetGravity(space()).y, 500.0);
  EXPECT_EQ(cpSpaceGetDamping(space()), static_cast<double>(0.1f));
  EXPECT_EQ(app_.scroller.text, "  Hi there ");

  // A missing file: a new space with the library's defaults, an empty scroller text.
  cpSpace* before = space();
  EXPECT_EQ(loadFile("missing.txt"), nullptr);
  EXPECT_NE(space(), before);
  EXPECT_EQ(output_, "Reading scene file 'missing.txt'..\nSCENE FILE NOT FOUND! ('missing.txt')\n");
  EXPECT_EQ(cpSpaceGetIterations(space()), 10);
  EXPECT_EQ(cpSpaceGetGravity(space()).y, 0.0);
  EXPECT_EQ(cpSpaceGetDamping(space()), 1.0);
  EXPECT_EQ(app_.scroller.text, "");

  // Created afterwards, the file loads on the next reset.
  write("missing.txt", "scene_gravity 0 9\n");
  ASSERT_TRUE(loadFile("missing.txt"));
  EXPECT_EQ(cpSpaceGetGravity(space()).y, 9.0);
}

TEST_F(Reset, SettingsTheLibraryCannotTakeKeepItsDefaults) {
  const char* bad[] = {"scene_solver_iterations 0\nscene_gravity nan 5\nscene_damping -1\n",
                       "scene_solver_iterations -4\nscene_gravity 3 inf\nscene_damping nan\n",
                       "scene_gravity 1e39 0\nscene_damping inf\n"};
  for (const char* text : bad) {
    ASSERT_TRUE(load(text)) << text;
    EXPECT_EQ(cpSpaceGetIterations(space()), 10) << text;
    EXPECT_EQ(cpSpaceGetGravity(space()).x, 0.0) << text;
    EXPECT_EQ(cpSpaceGetGravity(space()).y, 0.0) << text;
    EXPECT_EQ(cpSpaceGetDamping(space()), 1.0) << text;
  }
  ASSERT_TRUE(load("scene_solver_iterations 2000000000\nscene_damping 0\n"));
  EXPECT_EQ(cpSpaceGetIterations(space()), kMaxSolverIterations);
  EXPECT_EQ(cpSpaceGetDamping(space()), 0.0);
}

long residentPages() {
  long size = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> size >> resident;
  return resident;
}

TEST_F(Reset, AThousandReloadsDoNotGrowMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's quarantine holds freed memory; its leak check covers this";
#endif
  write("box.obj", "v -10 0 -10\nv 10 0 -10\nv 10 0 10\nv -10 0 10\nf 1 2 3 4\n");
  write("scene.txt",
        "scene_gravity 0 500\nscene_scroller_text hello\nnew_obj a\nobj_mesh box.obj\n"
        "obj_col_mesh box.obj\nobj_pos 100 100\nnew_obj b\nobj_col_mesh box.obj\nobj_pos 200 100\n"
        "new_joint_pin\njoint_obj_a a\njoint_obj_b b\nnew_rope\nrope_obj_a a\nrope_anchor_b 300 0\n");
  app_.scene_file = "scene.txt";
  testing::internal::CaptureStdout();
  for (int i = 0; i < 200; ++i) resetWorld(app_);
  const long warmed = residentPages();
  for (int i = 0; i < 1000; ++i) resetWorld(app_);
  const long after = residentPages();
  testing::internal::GetCapturedStdout();
  ASSERT_TRUE(app_.scene);
  EXPECT_EQ(app_.scene->ropes[0]->segments.size(), 23u);
  // Each load holds a few hundred kilobytes; a leak of even one of them per reload would
  // add far more than this slack over a thousand reloads.
  EXPECT_LT(after - warmed, 256) << "pages grew from " << warmed << " to " << after;
}

TEST_F(Reset, StepsOnlyForAPositiveSubstepCount) {
  ASSERT_TRUE(load("scene_gravity 0 100\nnew_obj\nobj_pos 10 10\n"));
  cpBody* body = app_.scene->objects.begin()->second->body;
  ASSERT_TRUE(body);
  cpBodySetVelocity(body, cpv(60, 0));
  stepSpace(space(), 0, 1.0 / 60);
  stepSpace(space(), -5, 1.0 / 60);
  EXPECT_EQ(cpBodyGetPosition(body).x, 10.0);
  stepSpace(space(), 4, 1.0 / 240);
  EXPECT_NEAR(cpBodyGetPosition(body).x, 11.0, 1e-9);
}

}  // namespace
