// The shell's decisions without a window: arguments, tick timing, scroller, cursor, reset.
#include <GL/glut.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <climits>
#include <cmath>
#include <vector>

#include "app/args.h"
#include "test_support.h"

namespace {

TEST(Arguments, TheLastSceneCountsAndAHelpOptionStopsReading) {
  const struct {
    std::vector<const char*> args;
    const char *scene, *help;
    bool fullscreen;
  } rows[] = {{{"--scene", "--fullscreen"}, "--fullscreen", nullptr, false},
              {{"--scene", "-h", "--FULLSCREEN", "-H", "--scene"}, "-h", nullptr, false},
              {{"--scene", "a", "-help", "--fullscreen", "-h"}, "a", "-help", false}};
  for (auto [args, scene, help, fullscreen] : rows) {
    args.insert(args.begin(), "quillmoor");
    const Arguments a = readArguments(args.size(), const_cast<char**>(args.data()), "scene.txt");
    EXPECT_TRUE(a.scene_file == std::string(scene) && a.fullscreen == fullscreen) << args[1];
    EXPECT_STREQ(a.help_option, help) << args[1];
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
              {2000, 3, 0, 3, 1.0 / 6000},
              {0.5f, 1, 2000, 1, 2},
              {60, 0, 16, 0, 0},
              {60, INT_MAX, 16, 1000, 1.0 / 60000},
              {0, 2, 16, 2, 1.0 / 120},
              {-30, 1, 16, 1, 1.0 / 60},
              {NAN, 1, 16, 1, 1.0 / 60},
              {INFINITY, 1, 16, 1, 1.0 / 60},
              {1e-30f, 1, INT_MAX, 1, 1e30}};
  for (const auto& [fps, steps, delay, substeps, dt] : rows) {
    Scene s;  // rates that would divide by zero or never tick run at 60
    s.settings.fps = fps, s.settings.step_iterations = steps, s.settings.scroller_text_speed = 7;
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
  const float rows[][5] = {{1024, 0, 300, 0, 1019},   {-4, 0, 300, 0, -9},  // x, width, speed,
                           {-9, 0, 300, 1, -14},      {-505, 500, 300, 1, -510},  // wraps, x after
                           {-504, 500, 300, 0, -509}, {1024, 10, -300, 0, 1029}};
  for (auto [x, width, speed, wraps, after] : rows) {
    Scroller s{"", x, width};
    EXPECT_EQ(advanceScroller(s, speed, 60.0f), wraps == 1) << x;
    EXPECT_FLOAT_EQ(s.x, after) << x;
  }
  Scene hides, shows;  // the cursor hides only full-screen with a scene that asks for it
  shows.settings.mouse_hide_in_fullscreen = false;
  EXPECT_EQ(cursorFor(&hides, true), GLUT_CURSOR_NONE);
  for (auto [scene, fullscreen] : {std::pair{&hides, false}, {&shows, true}, {nullptr, true}})
    EXPECT_EQ(cursorFor(scene, fullscreen), GLUT_CURSOR_FULL_CROSSHAIR);
}

TEST_F(ScratchDir, AResetMakesANewSpaceWithTheSceneSettingsAndText) {
  ASSERT_TRUE(load("scene_solver_iterations 7\nscene_gravity 0 9\nscene_scroller_text  Hi \n"));
  EXPECT_TRUE(cpSpaceGetIterations(space()) == 7 && cpSpaceGetGravity(space()).y == 9.0);
  EXPECT_EQ(app_.scroller.text, "  Hi ");
  cpSpace* before = space();
  EXPECT_EQ(loadFile("new.txt"), nullptr);  // a new, default space and an empty text
  EXPECT_TRUE(space() != before && cpSpaceGetIterations(space()) == 10);
  EXPECT_TRUE(app_.scroller.text.empty());
  write("new.txt", "scene_gravity 0 9\n");  // created afterwards, it loads on the next reset
  ASSERT_TRUE(loadFile("new.txt"));
  EXPECT_EQ(cpSpaceGetGravity(space()).y, 9.0);
  const size_t used = mallinfo2().uordblks;  // nothing of the earlier worlds is kept
  for (int i = 0; i < 100; ++i) loadFile("new.txt");
  EXPECT_LT(mallinfo2().uordblks, used + 10000);
}

}  // namespace
