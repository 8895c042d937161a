// The authoring options on a real viewer: --watch reloads once per save and only then; --stats
// reports on standard error only.
#include <gtest/gtest.h>

#include <regex>

#include "process.h"

namespace {

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
      "scene_gravty 0 500\nnew_obj a\nobj_mesh red.obj\nobj_mass 0\nobj_mesh sub/m.obj\n"
      "obj_col_line 0 0 10 0 1\n";
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
      "[0-9]+\\.[0-9]{2} ms worst, drawing [0-9]+\\.[0-9]{2} ms/frame, 0 bodies, 1 shapes, 0 "
      "constraints\n)+");
  EXPECT_TRUE(std::regex_match(still.err(), stats)) << still.err();
}

}  // namespace
