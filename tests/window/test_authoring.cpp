// The authoring options on a real display: --watch reloads once per save and only then;
// --stats reports on standard error only; --debug draws the physics over the picture and nothing
// changes without it.
#include <gtest/gtest.h>

#include <regex>

#include "process.h"

namespace {

// The brightest pixel within two of (x, y) along a row or a column: smooth thin lines spread
// over neighbouring pixels.
Pixel brightest(const Image& image, int x, int y, bool along_column) {
  Pixel best{0, 0, 0};
  for (int d = -2; d <= 2; ++d) {
    const Pixel p = along_column ? image.at(x, y + d) : image.at(x + d, y);
    if (p.r + p.g + p.b > best.r + best.g + best.b) best = p;
  }
  return best;
}

int loads(const Background& viewer) {
  const std::string out = viewer.out();
  int count = 0;
  for (size_t at = 0; (at = out.find("Reading scene file", at)) != std::string::npos; ++at) ++count;
  return count;
}

// Exactly `count` loads once things settle: reached in time, and no more after a pause well
// beyond the quiet time that ends a burst of events.
void expectLoads(const Background& viewer, int count, const char* after) {
  EXPECT_TRUE(eventually([&] { return loads(viewer) >= count; })) << after;
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  EXPECT_EQ(loads(viewer), count) << after;
}

TEST(Authoring, WatchReloadsOncePerSaveAndOnlyWhenAFileChanges) {
  Scratch dir;
  writePaints();
  const std::string scene =
      "scene_gravty 0 500\nnew_obj a\nobj_mesh red.obj\nobj_mass 0\nobj_mesh sub/m.obj\n";
  writeFile("scene.txt", scene);
  Background still({QUILLMOOR_VIEWER, "--stats"});
  Background viewer({QUILLMOOR_VIEWER, "--watch"});
  expectLoads(viewer, 1, "start");
  EXPECT_NE(viewer.err().find("scene.txt:1: warning: unknown keyword 'scene_gravty'"),
            std::string::npos)
      << viewer.err();

  writeFile("scene.txt", scene + "scene_fps 30\n");  // saved in place
  expectLoads(viewer, 2, "save in place");
  writeFile("red.new", readFile("red.obj") + "v 0 0 0\n");  // saved by rename, as editors do
  ASSERT_EQ(std::rename("red.new", "red.obj"), 0);
  expectLoads(viewer, 3, "save by rename");
  writeFile("unrelated.txt", "x");  // a file the scene does not read
  expectLoads(viewer, 3, "unrelated file");
  ASSERT_EQ(std::remove("scene.txt"), 0);
  expectLoads(viewer, 4, "delete");
  EXPECT_NE(viewer.out().find("SCENE FILE NOT FOUND! ('scene.txt')"), std::string::npos);
  writeFile("scene.txt", scene);  // created after being missing
  expectLoads(viewer, 5, "create");
  ASSERT_TRUE(std::filesystem::create_directory("new"));  // a missing folder appears
  writeFile("new/m.obj", "");
  std::filesystem::rename("new", "sub");
  expectLoads(viewer, 6, "folder created");
  std::filesystem::remove("red.obj");  // a mesh replaced by a folder
  std::filesystem::create_directory("red.obj");
  expectLoads(viewer, 7, "mesh replaced by a folder");
  for (int i = 0; i < 100; ++i) {  // rewritten a hundred times a second
    writeFile("scene.txt", scene + "# " + std::to_string(i) + "\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  EXPECT_GE(loads(viewer), 8);
  EXPECT_LE(loads(viewer), 10);  // one per second of the burst, and one after it
  EXPECT_TRUE(viewer.running());

  // Without --watch nothing reloads nor warns; --stats adds its report on standard error only.
  EXPECT_EQ(still.out(),
            "Reading scene file 'scene.txt'..\nReading mesh file 'red.obj'..\n"
            "Reading material file 'red.mtl'..\nReading mesh file 'sub/m.obj'..\n"
            "MESH FILE NOT FOUND! ('sub/m.obj')\n");
  const std::regex stats(
      "(stats: [0-9]+\\.[0-9] ticks/s \\(asked 60\\.0\\), physics [0-9]+\\.[0-9]{2} ms mean "
      "[0-9]+\\.[0-9]{2} ms worst, drawing [0-9]+\\.[0-9]{2} ms/frame, 1 bodies, 0 shapes, 0 "
      "constraints\n)+");
  EXPECT_TRUE(std::regex_match(still.err(), stats)) << still.err();
}

TEST(Authoring, DebugDrawsShapesAndJointsOverTheUnchangedPicture) {
  Scratch dir;
  writePaints();
  writeFile("scene.txt",
            "new_obj box\nobj_mesh red.obj\nobj_col_mesh red.obj\nobj_pos 700 400\n"
            "new_joint_pin\njoint_obj_a box\njoint_anchor_b 300 400\n"
            "new_obj floor\nobj_mass 0\nobj_col_line 100 600 900 600 0\n");
  const auto shot = [](std::vector<std::string> extra) {
    std::vector<std::string> args = {QUILLMOOR_SNAPSHOT, "--ticks", "2", "--out", "out.png"};
    args.insert(args.end(), extra.begin(), extra.end());
    EXPECT_EQ(run(args).status, 0);
    return Image("out.png");
  };
  const Image plain = shot({}), debug = shot({"--debug"});
  ASSERT_FALSE(plain.rgb.empty());
  ASSERT_FALSE(debug.rgb.empty());
  int joint = 0, differing = 0;
  for (int x = 320; x < 640; ++x) {
    const Pixel p = brightest(plain, x, 400, true), d = brightest(debug, x, 400, true);
    EXPECT_EQ(p.r + p.g + p.b, 0) << x;           // nothing there without --debug
    joint += d.r > 150 && d.g > 150 && d.b < 80;  // the pin joint's yellow line
  }
  EXPECT_GT(joint, 300);
  // The static floor line in blue, the moving box's outline (just left of the box) in green.
  const Pixel floor = brightest(debug, 500, 600, true), edge = brightest(debug, 647, 420, false);
  const Pixel inside = debug.at(720, 380);
  EXPECT_TRUE(floor.b > 150 && floor.r < 100) << floor.r << "," << floor.g << "," << floor.b;
  EXPECT_TRUE(edge.g > 150 && edge.r < 100) << edge.r << "," << edge.g << "," << edge.b;
  // Away from the outlines, the picture is the plain one.
  EXPECT_EQ(inside.r, plain.at(720, 380).r);
  for (size_t i = 0; i < plain.rgb.size(); ++i) differing += plain.rgb[i] != debug.rgb[i];
  EXPECT_LT(differing, 30000);
}

}  // namespace
