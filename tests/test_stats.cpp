// The --stats report: its arithmetic, its timing and what it counts.
#include <vector>

#include "app/args.h"
#include "app/stats.h"
#include "test_support.h"

TEST(Stats, LinesFromSamples) {
  const struct {
    double start, now;
    std::vector<double> ticks, frames;
    const char* line;
  } rows[] = {
      {10,
       11,
       {5, 7, 3},
       {8, 12},
       "stats: 3.0 ticks/s (asked 60.0), physics 5.00 ms mean 7.00 ms worst, drawing 10.00 "
       "ms/frame, 1 bodies, 2 shapes, 3 constraints\n"},
      {0,
       2,
       {},
       {},
       "stats: 0.0 ticks/s (asked 60.0), physics 0.00 ms mean 0.00 ms worst, "
       "drawing 0.00 ms/frame, 1 bodies, 2 shapes, 3 constraints\n"},
      {4,
       6,
       std::vector<double>(119, 1.0),
       {0.25},
       "stats: 59.5 ticks/s (asked 60.0), physics "
       "1.00 ms mean 1.00 ms worst, drawing 0.25 ms/frame, 1 bodies, 2 shapes, 3 constraints\n"},
  };
  for (const auto& row : rows) {
    StatsWindow window{row.start};
    for (double ms : row.ticks) addTickSample(window, ms);
    for (double ms : row.frames) addFrameSample(window, ms);
    EXPECT_EQ(statsLine(window, row.now, 60.0f, {1, 2, 3}), row.line);
  }
  const StatsWindow window{5.0};
  EXPECT_FALSE(statsDue(window, 5.999));
  EXPECT_TRUE(statsDue(window, 6.0));
}

TEST(Stats, OnlyTheOptionItselfTurnsItOn) {
  char name[] = "quillmoor", stats[] = "--stats", scene[] = "--scene", other[] = "--Stats";
  char* with[] = {name, stats};
  char* as_scene[] = {name, scene, stats, other};
  EXPECT_TRUE(readArguments(2, with, "scene.txt").stats);
  const Arguments a = readArguments(4, as_scene, "scene.txt");
  EXPECT_FALSE(a.stats);
  EXPECT_STREQ(a.scene_file, "--stats");
}

class StatsCounts : public ScratchDir {};

TEST_F(StatsCounts, BodiesShapesAndConstraintsOfTheSpace) {
  ASSERT_NE(load("new_obj a\nobj_col_line 0 0 10 0 1\nnew_obj b\nobj_pos 50 0\nobj_col_line 0 0 "
                 "10 0 1\nnew_obj wall\nobj_mass 0\nobj_col_line 0 100 500 100 2\nnew_joint_pin\n"
                 "joint_obj_a a\njoint_obj_b b\n"),
            nullptr);
  const SpaceCounts counts = countSpace(space());
  EXPECT_EQ(counts.bodies, 2);
  EXPECT_EQ(counts.shapes, 3);
  EXPECT_EQ(counts.constraints, 1);
}
