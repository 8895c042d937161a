// --stats on the real viewer: its report arrives on standard error and nothing new on standard
// output.
#include <gtest/gtest.h>

#include <regex>

#include "process.h"

TEST(StatsOption, ReportGoesToStandardErrorOnly) {
  Scratch dir;
  writePaints();
  writeFile("scene.txt", "new_obj a\nobj_col_line 0 0 10 0 1\nobj_pos 500 300\n");
  Background viewer({QUILLMOOR_VIEWER, "--stats"});
  ASSERT_TRUE(eventually([&] { return viewer.err().find('\n') != std::string::npos; }))
      << viewer.running();
  const std::regex line(
      "stats: [0-9]+\\.[0-9] ticks/s \\(asked 60\\.0\\), physics [0-9]+\\.[0-9]{2} ms mean "
      "[0-9]+\\.[0-9]{2} ms worst, drawing [0-9]+\\.[0-9]{2} ms/frame, 1 bodies, 1 shapes, 0 "
      "constraints\n");
  const std::string err = viewer.err();
  EXPECT_TRUE(std::regex_match(err.substr(0, err.find('\n') + 1), line)) << err;
  EXPECT_EQ(viewer.out(), "Reading scene file 'scene.txt'..\n");
}
