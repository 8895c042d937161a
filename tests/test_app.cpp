// The shell's decisions without a window: arguments and the shared options, tick timing,
// scroller, reset, the --stats report and the mouse push.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>
#include <vector>

#include "app/args.h"
#include "app/common_options.h"
#include "app/inspector.h"
#include "app/mouse.h"
#include "app/stats.h"
#include "app/watch.h"
#include "test_support.h"

namespace {

// Command lines as the viewer reads them, rows of tests/data/app/arguments.txt.
TEST(Arguments, SharedOptionsComeOutThenTheLastSceneCountsAndAHelpStopsReading) {
  std::ifstream rows(QUILLMOOR_SOURCE_DIR "/tests/data/app/arguments.txt");
  ASSERT_TRUE(rows.is_open());
  for (std::string row; std::getline(rows, row);) {
    if (row.empty() || row[0] == '#') continue;
    const size_t arrow = row.find("=> ");
    const std::string text = row.substr(0, arrow), want = row.substr(arrow + 3);
    std::vector<std::string> args = words(text);
    std::vector<char*> argv{const_cast<char*>("quillmoor")};
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(argv.size()) - 1;
    const CommonOptions common = takeCommonOptions(&argc, argv.data(), kViewerSyntax);
    EXPECT_EQ(argv[argc], nullptr) << text;
    const Arguments a = readArguments(argc, argv.data(), "scene.txt");
    std::ostringstream got;
    for (int i = 1; i < argc; ++i) got << argv[i] << ' ';
    got << '|';
    for (const std::string& directory : common.directories) got << ' ' << directory;
    got << " | " << common.version << ' ' << !common.error.empty() << " | " << a.scene_file << ' '
        << (a.help_option ? a.help_option : "-") << ' ' << a.fullscreen << ' ' << a.stats;
    EXPECT_EQ(got.str(), want) << text;
  }
  // Each directory in turn, relative to the one before (a failure is the window test's).
  Scratch scratch;
  std::filesystem::create_directories("a/b");
  EXPECT_TRUE(enterDirectories({scratch.path, "a", "b"}, "quillmoor"));
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(scratch.path) / "a" / "b");
}

TEST(TickPlan, DelaySubstepsAndRatesThatCannotTick) {
  // Rates that would divide by zero or never tick run at 60; a very low one stays in the
  // timer's range; steps beyond 1000 count as 1000.
  const std::tuple<float, int, unsigned, int, double> rows[] = {
      {2000, 3, 0, 3, 1.0 / 6000},
      {0.5f, 1, 2000, 1, 2},
      {60, 0, 16, 0, 0},
      {0, 2, 16, 2, 1.0 / 120},
      {NAN, 1, 16, 1, 1.0 / 60},
      {INFINITY, 1, 16, 1, 1.0 / 60},
      {1e-30f, 1, INT_MAX, 1, 1e30},
      {60, INT_MAX, 16, 1000, 1.0 / 60000}};
  initPhysics();
  for (const auto& [fps, steps, delay, substeps, dt] : rows) {
    auto scene = std::make_shared<Scene>();
    SceneSettings& s = scene->settings;
    s.fps = fps, s.step_iterations = steps, s.scroller_text_speed = 7;
    const TickPlan plan = planTick(*buildWorld(scene));
    EXPECT_EQ(plan.delay_ms, delay) << fps << " " << steps;
    EXPECT_EQ(plan.substeps, substeps) << fps << " " << steps;
    EXPECT_NEAR(plan.dt, dt, dt * 1e-6) << fps << " " << steps;
    EXPECT_EQ(plan.scroller_speed, 7.0f);
  }
  const World empty;  // without a scene: 60 per second, no scrolling
  const TickPlan none = planTick(empty);
  EXPECT_EQ(std::make_tuple(none.delay_ms, none.substeps, none.scroller_speed),
            std::make_tuple(16u, 1, 0.0f));
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
}

TEST_F(ScratchDir, AResetMakesANewSpaceWithTheSceneSettingsAndText) {
  ASSERT_TRUE(load(
      "scene_solver_iterations 7\nscene_gravity 0 9\nscene_scroller_text  Hi \nnew_obj a\n"
      "obj_col_line 0 0 10 0 1\nnew_obj b\nobj_pos 50 0\nobj_col_line 0 0 10 0 1\nnew_obj wall\n"
      "obj_mass 0\nobj_col_line 0 100 500 100 2\nnew_joint_pin\njoint_obj_a a\njoint_obj_b b\n"));
  EXPECT_EQ(cpSpaceGetIterations(space()), 7);
  EXPECT_EQ(cpSpaceGetGravity(space()).y, 9.0);
  const SpaceCounts counts = countSpace(space());  // what --stats reports
  EXPECT_EQ(std::make_tuple(counts.bodies, counts.shapes, counts.constraints),
            std::make_tuple(2, 3, 1));
  EXPECT_EQ(app_.scroller.text, "  Hi ");
  cpSpace* before = space();
  EXPECT_EQ(loadFile("new.txt"), nullptr);  // a new, default space and an empty text
  EXPECT_NE(space(), before);
  EXPECT_EQ(cpSpaceGetIterations(space()), 10);
  EXPECT_TRUE(app_.scroller.text.empty());
  writeFile("new.txt", "scene_gravity 0 9\n");  // created afterwards, it loads on the next reset
  ASSERT_TRUE(loadFile("new.txt"));
  EXPECT_EQ(cpSpaceGetGravity(space()).y, 9.0);
  const size_t used = mallinfo2().uordblks;  // nothing of the earlier worlds is kept
  for (int i = 0; i < 100; ++i) loadFile("new.txt");
  EXPECT_LT(mallinfo2().uordblks, used + 10000);
}

TEST(Stats, LinesFromSamples) {
  // The window's start and end, its samples, and the ticks/s, mean, worst and drawing ms.
  const std::tuple<double, double, std::vector<double>, std::vector<double>, const char*> rows[] = {
      {10, 11, {5, 7, 3}, {8, 12}, "3.0 5.00 7.00 10.00"},
      {2, 2, {}, {}, "0.0 0.00 0.00 0.00"},  // a window of no length yet
      {4, 6, std::vector<double>(119, 1.0), {0.25}, "59.5 1.00 1.00 0.25"}};
  for (const auto& [start, now, ticks, frames, numbers] : rows) {
    StatsWindow window{start};
    for (double ms : ticks) addTickSample(window, ms);
    for (double ms : frames) addFrameSample(window, ms);
    const std::vector<std::string> n = words(numbers);
    EXPECT_EQ(statsLine(window, now, 60.0f, {1, 2, 3}),
              "stats: " + n[0] + " ticks/s (asked 60.0), physics " + n[1] + " ms mean " + n[2] +
                  " ms worst, drawing " + n[3] + " ms/frame, 1 bodies, 2 shapes, 3 constraints\n");
  }
  const StatsWindow window{5.0};
  EXPECT_FALSE(statsDue(window, 5.999));
  EXPECT_TRUE(statsDue(window, 6.0));
}

TEST(Watch, FolderAndNameOfAPathAsItIsOpened) {
  const char* paths[][2] = {
      {"a.obj", ". a.obj"}, {"sub/m.obj", "sub m.obj"}, {"/m.obj", "/ m.obj"}, {"a/b/c", "a/b c"}};
  for (auto [path, want] : paths)
    EXPECT_EQ(splitPath(path).first + " " + splitPath(path).second, want);
}

TEST(MouseImpulse, AllowedStrictlyBelowTheMaximum) {
  const std::tuple<cpVect, float, bool> rows[] = {
      {cpv(3, 4), 5.0001f, true},     {cpv(3, -4), 5.0f, false},        // never clamped
      {cpvzero, 0.0f, false},         {cpvzero, -1.0f, false},          // 0 or below: none
      {cpv(NAN, 0), INFINITY, false}, {cpv(1e20, 0), INFINITY, false},  // float overflow
      {cpv(1, 0), NAN, false}};
  for (const auto& [j, max, allowed] : rows)
    EXPECT_EQ(impulseAllowed(j, max), allowed) << j.x << " " << max;
}

// A 20 x 20 square of mass 2 at (500, 300), split along its diagonal from (-10, -10) to
// (10, 10), and a static one at (100, 100).
TEST_F(ScratchDir, MousePushTurnsTheWayTheBodyFrameSaysAndCountsEachTriangleAnEdgeBounds) {
  const auto box = [&](const std::string& settings) {
    writeFile("square.obj", "v -10 0 -10\nv 10 0 -10\nv 10 0 10\nv -10 0 10\nf 1 2 3 4\n");
    EXPECT_TRUE(load(settings +
                     "\nnew_obj box\nobj_col_mesh square.obj\nobj_mass 2\n"
                     "obj_pos 500 300\nnew_obj wall\nobj_col_mesh square.obj\nobj_mass 0\n"
                     "obj_pos 100 100\n"));
    return body("box");
  };
  cpBody* body = box("");
  // j = (4, 10) at (5, 3) from the centre: the offset turned back by the body's angle, crossed
  // with j, over the moment.
  const double turns[][2] = {
      {0, 5 * 10 - 3 * 4}, {M_PI, -5 * 10 + 3 * 4}, {M_PI / 2, 3 * 10 + 5 * 4}};
  for (auto [angle, torque] : turns) {
    cpBodySetAngle(body, angle);
    cpBodySetVelocity(body, cpvzero);
    cpBodySetAngularVelocity(body, 0.0);
    MouseImpulseQuery query{cpv(505, 303), cpv(4, 10)};
    cpSpacePointQuery(space(), query.point, 0.0, CP_SHAPE_FILTER_ALL, applyMouseImpulse, &query);
    EXPECT_TRUE(cpveql(cpBodyGetVelocity(body), cpv(2, 5))) << angle;  // one triangle holds it
    EXPECT_NEAR(cpBodyGetAngularVelocity(body), torque / cpBodyGetMoment(body), 1e-12) << angle;
  }
  cpBodySetAngle(body, 0);
  cpBodySetAngularVelocity(body, 0.0);
  cpBodySetVelocity(body, cpvzero);
  MouseImpulseQuery huge{cpv(505, 300), cpv(DBL_MAX, 0)};  // no turn: on the centre's line
  for (int i = 0; i < 3; ++i)  // the third would overflow the speed and is dropped whole
    cpSpacePointQuery(space(), huge.point, 0.0, CP_SHAPE_FILTER_ALL, applyMouseImpulse, &huge);
  EXPECT_EQ(cpBodyGetVelocity(body).x, DBL_MAX);
  EXPECT_EQ(cpBodyGetAngularVelocity(body), 0.0);
  // x, y and the triangles holding the point; the last is on the static square.
  const double points[][3] = {
      {503, 303, 2}, {503, 302, 1}, {510, 300, 1}, {510.001, 300, 0}, {100, 100, 0}};
  for (auto [x, y, pushes] : points) {
    cpBodySetVelocity(body, cpvzero);
    app_.previous_mouse = cpv(x - 1, y);
    pushAt(app_, cpv(x, y));  // j = (6, 0) on a mass of 2, once for each triangle under the point
    EXPECT_DOUBLE_EQ(cpBodyGetVelocity(body).x, 3.0 * pushes) << x << "," << y;
    EXPECT_TRUE(cpveql(app_.previous_mouse, cpv(x, y)));
  }
  body = box("scene_mouse_impulse_force_max 0");
  pushAt(app_, cpv(500, 300));  // even a zero push is not below a maximum of 0
  EXPECT_TRUE(cpveql(cpBodyGetVelocity(body), cpvzero));
  EXPECT_EQ(loadFile("none.txt"), nullptr);  // no scene: only the position moves
  pushAt(app_, cpv(42, 43));
  EXPECT_TRUE(cpveql(app_.previous_mouse, cpv(42, 43)));
}

}  // namespace

// The workbench's pace: keys typed before each timer tick, and which ticks step ('s') or not.
// A slower speed steps on fewer timer ticks; it never skips or repeats a step, so the world
// passes through the states of the plain ticks.
TEST(Pace, KeysDecideWhichTimerTicksStep) {
  const struct {
    const char* keys;  // one per timer tick; '-' for none
    const char* steps;
  } rows[] = {
      {"------", "ssssss"},
      {"[-------", "-s-s-s-s"},
      {"[[[[[[------------------", "---------------s--------"},  // 1/16 at the slowest
      {"[[]]]---", "--ssssss"},                                    // full speed at the most
      {" -- --", "---sss"},
      {"[-- --- ", "-s-----s"},  // the tick waited before the pause counts on after it
  };
  for (const auto& row : rows) {
    Pace pace;
    std::string steps;
    for (const char* key = row.keys; *key; ++key) {
      if (*key != '-') {
        EXPECT_TRUE(paceKey(pace, *key));
      }
      steps += stepsThisTick(pace) ? 's' : '-';
    }
    EXPECT_EQ(steps, row.steps) << row.keys;
  }
  Pace pace;
  EXPECT_FALSE(paceKey(pace, '.'));  // the viewer's to take: one tick now, only while paused
  EXPECT_FALSE(paceKey(pace, 'r'));
}

// Zooming about a point keeps it under the cursor, within 1/8 and 32; a pan moves the picture
// with the drag; the fixed view is exactly the world's rectangle.
TEST(View, ZoomKeepsTheCursorsPointAndPanFollowsTheDrag) {
  const WorldRect fixed = visibleRect(View{});
  EXPECT_EQ(std::vector<double>({fixed.left, fixed.right, fixed.top, fixed.bottom}),
            std::vector<double>({0, 1024, 0, 768}));
  View view;
  const int w = 800, h = 600;
  for (const auto& [x, y, clicks] : {std::tuple{100, 500, 3}, {799, 0, -5}, {400, 300, 40}}) {
    const cpVect under = windowToWorld(view, x, y, w, h);
    zoomAbout(view, under, clicks);
    const cpVect after = windowToWorld(view, x, y, w, h);
    EXPECT_LT(cpvdist(after, under), 1e-9) << x << "," << y;
  }
  EXPECT_EQ(view.zoom, kMaxZoom);
  zoomAbout(view, cpvzero, -99);
  EXPECT_EQ(view.zoom, kMinZoom);
  const cpVect before = windowToWorld(view, 10, 20, w, h);
  panBy(view, 30, -40, w, h);  // what was under (10, 20) is now under (40, -20)
  const cpVect moved = windowToWorld(view, 40, -20, w, h);
  EXPECT_LT(cpvdist(moved, before), 1e-9);
}

// The inspector names the object under the point with the line that declared it, and its
// motion; elsewhere it counts the ticks and what the space holds.
TEST_F(ScratchDir, InspectorSaysWhatIsUnderThePoint) {
  load("scene_gravity 0 500\nnew_obj wall\nobj_mass 0\nobj_col_line 0 700 1024 700 5\n"
       "new_obj ball\nobj_pos 300 200\nobj_col_circle 0 0 20\nobj_mass 2\nobj_moment 7\n"
       "obj_velocity 30 -40\nobj_angle 90\n");
  EXPECT_EQ(inspectorLines(world(), cpv(305, 190)),
            std::vector<std::string>({"ball  (scene.txt:5)", "moving", "position 300.0, 200.0",
                                      "angle 90.0 deg", "velocity 30.0, -40.0", "spin 0.0 deg/s",
                                      "mass 2, moment 7"}));
  EXPECT_EQ(inspectorLines(world(), cpv(500, 702)),
            std::vector<std::string>({"wall  (scene.txt:2)", "static"}));
  stepWorld(world(), 1, 1.0 / 60);
  EXPECT_EQ(inspectorLines(world(), cpv(500, 300)),
            std::vector<std::string>({"tick 1", "1 bodies, 2 shapes, 0 joints"}));
}

// The options a man page describes, from the lines that open its OPTIONS entries.
std::set<std::string> manOptions(const char* page) {
  std::ifstream in(std::string(QUILLMOOR_SOURCE_DIR "/docs/man/") + page);
  const std::regex option(R"((\\-){1,2}[A-Za-z?][A-Za-z-]*)");
  std::set<std::string> names;
  bool options = false;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(".SH", 0) == 0) options = line == ".SH OPTIONS";
    if (!options || line.rfind(".B", 0) != 0) continue;
    for (std::sregex_iterator m(line.begin(), line.end(), option), end; m != end; ++m)
      names.insert(std::regex_replace(m->str(), std::regex(R"(\\-)"), "-"));
  }
  return names;
}

// The options a program's --help text names.
std::set<std::string> helpOptions(const std::string& program) {
  const std::string command = program + " --help >help.txt";
  EXPECT_EQ(std::system(command.c_str()), 0);
  const std::string text = readFile("help.txt");
  const std::regex option(R"((^|[ \[|(])(-C|-h|--[a-z-]+))");
  std::set<std::string> names;
  for (std::sregex_iterator m(text.begin(), text.end(), option), end; m != end; ++m)
    names.insert((*m)[2]);
  return names;
}

TEST(ManPages, EachListsEveryOptionItsProgramTakes) {
  Scratch scratch;
  const std::vector<std::string> viewer = viewerOptions();
  EXPECT_EQ(manOptions("quillmoor.1"), std::set<std::string>(viewer.begin(), viewer.end()));
  EXPECT_EQ(manOptions("quillmoor-snapshot.1"), helpOptions(QUILLMOOR_SNAPSHOT));
  EXPECT_EQ(manOptions("quillmoor-check.1"), helpOptions(QUILLMOOR_CHECK));
}
