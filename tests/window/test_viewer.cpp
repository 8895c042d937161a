// The viewer itself on a real display, driven with xdotool: command line, messages as they
// happen, keys, window title and the mouse push as seen on screen.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "png_reader.h"
#include "process.h"

namespace {

const char kTitle[] = "Quillmoor -- Made by Velkori | https://velkori.example.com/";

class Viewer : public testing::Test {
 protected:
  void SetUp() override { xdo({"mousemove", "5", "5"}); }  // over the window, away from objects

  std::unique_ptr<Process> start(std::vector<std::string> args) {
    args.insert(args.begin(), QUILLMOOR_VIEWER);
    return std::make_unique<Process>(args, dir_.path());
  }

  // The id of the viewer's mapped window, or "" when none shows up in time. Also notes where
  // it sits: without a window manager freeglut's unset position leaves it at (-1, -1).
  std::string window() {
    for (int tries = 0; tries < 400; ++tries) {
      const std::string ids = find(), id = ids.substr(0, ids.find('\n'));
      const RunResult shell = run({"xdotool", "getwindowgeometry", "--shell", id.empty() ? "none" : id}, ".", 10);
      const size_t at = shell.out.find("X=");
      if (shell.status == 0 && at != std::string::npos &&
          std::sscanf(shell.out.c_str() + at, "X=%d\nY=%d", &left_, &top_) == 2)
        return id;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "";
  }

  // The ids of the mapped viewer windows, one a line.
  static std::string find() {
    return run({"xdotool", "search", "--onlyvisible", "--name", "^Quillmoor"}, ".", 10).out;
  }

  // A window outlives its killed process for a moment; the next test must not find it.
  void TearDown() override {
    for (int tries = 0; tries < 100 && !find().empty(); ++tries)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }

  // Screen pixel of a window pixel.
  std::string sx(int x) const { return std::to_string(left_ + x); }
  std::string sy(int y) const { return std::to_string(top_ + y); }
  Pixel at(const Image& screen, int x, int y) const { return screen.at(left_ + x, top_ + y); }

  std::string xdo(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    const RunResult result = run(args, ".", 10);
    EXPECT_EQ(result.status, 0) << args[1] << ": " << result.err;
    return result.out;
  }

  // Takes screenshots until `done` holds for one, or gives up after a few seconds.
  Image screenUntil(const std::function<bool(const Image&)>& done) {
    const std::string path = dir_.file("screen.png");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    Image image;
    do {
      EXPECT_EQ(run({"import", "-window", "root", "PNG24:" + path}).status, 0);
      image = readPng(path);
      if (!image.empty() && done(image)) return image;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < deadline);
    ADD_FAILURE() << "the screen never showed what was waited for";
    return image;
  }

  TempDir dir_;
  int left_ = 0, top_ = 0;
};

bool isRed(Pixel p) { return p.r > 200 && p.g < 50 && p.b < 50; }

// Mean x of the red pixels in row y, or -1 when there are none.
double redCentre(const Image& image, int y) {
  double sum = 0;
  int count = 0;
  for (int x = 0; x < image.width; ++x)
    if (isRed(image.at(x, y))) sum += x, ++count;
  return count ? sum / count : -1;
}

TEST_F(Viewer, HelpOptionsPrintTheUsageAndExit) {
  dir_.write("scene.txt", "");
  for (const char* option : {"-h", "-help", "--help", "-?"}) {
    const RunResult result = run({QUILLMOOR_VIEWER, option, "--scene", "other.txt"}, dir_.path(), 10);
    EXPECT_TRUE(result.finished) << option;
    EXPECT_EQ(result.status, 0) << option;
    EXPECT_EQ(result.out, std::string("Unrecognized command line parameter: '") + option + "'\n\n" +
                              "List of parameters:\n   --fullscreen\n   --scene <scene_file_name>\n");
  }
}

TEST_F(Viewer, MissingSceneIsReportedAndReloadFindsItLater) {
  auto viewer = start({"--scene", "x"});
  ASSERT_TRUE(viewer->waitForOutput("SCENE FILE NOT FOUND! ('x')\n", 1, 10)) << viewer->err();
  EXPECT_EQ(viewer->out(), "Reading scene file 'x'..\nSCENE FILE NOT FOUND! ('x')\n");
  const std::string id = window();
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(xdo({"getwindowname", id}), std::string(kTitle) + "\n");

  // Each line arrives while the viewer runs, although its output is a pipe.
  xdo({"key", "r"});
  ASSERT_TRUE(viewer->waitForOutput("SCENE FILE NOT FOUND! ('x')\n", 2, 10));
  EXPECT_TRUE(viewer->running());
  dir_.write("x", "new_obj a\nobj_mesh m.obj\n");
  xdo({"key", "r"});
  ASSERT_TRUE(viewer->waitForOutput("MESH FILE NOT FOUND! ('m.obj')\n", 1, 10));
  EXPECT_TRUE(viewer->running());
  EXPECT_EQ(viewer->out(), "Reading scene file 'x'..\nSCENE FILE NOT FOUND! ('x')\n"
                           "Reading scene file 'x'..\nSCENE FILE NOT FOUND! ('x')\n"
                           "Reading scene file 'x'..\nReading mesh file 'm.obj'..\n"
                           "MESH FILE NOT FOUND! ('m.obj')\n");

  xdo({"key", "R"});  // upper case does nothing
  xdo({"key", "Escape"});
  ASSERT_TRUE(viewer->waitExit(10));
  EXPECT_EQ(viewer->status(), 0);
  EXPECT_EQ(countOf(viewer->out(), "Reading scene file"), 3);
}

TEST_F(Viewer, LastSceneOptionWins) {
  dir_.write("a.txt", "");
  dir_.write("b.txt", "");
  auto viewer = start({"--scene", "a.txt", "--bogus", "--scene", "b.txt"});
  ASSERT_FALSE(window().empty());
  ASSERT_TRUE(viewer->waitForOutput("\n", 1, 10));
  xdo({"key", "Escape"});
  ASSERT_TRUE(viewer->waitExit(10));
  EXPECT_EQ(viewer->status(), 0);
  EXPECT_EQ(viewer->out(), "Reading scene file 'b.txt'..\n");
  EXPECT_EQ(viewer->err(), "");
}

TEST_F(Viewer, MousePushesAnObjectAndReloadPutsItBack) {
  dir_.write("red.mtl", "newmtl red\nKd 1 0 0\n");
  dir_.write("red.obj", "mtllib red.mtl\nusemtl red\nv -50 0 -50\nv 50 0 -50\nv 50 0 50\nv -50 0 50\nf 1 2 3 4\n");
  dir_.write("scene.txt", "new_obj box\nobj_mesh red.obj\nobj_col_mesh red.obj\nobj_pos 512 384\n"
                          "scene_mouse_impulse_force 0.05\n");
  auto viewer = start({});
  ASSERT_FALSE(window().empty());
  const auto redAt = [this](int x) { return [this, x](const Image& s) { return isRed(at(s, x, 384)); }; };
  const Image before = screenUntil(redAt(470));
  EXPECT_NEAR(redCentre(before, top_ + 384) - left_, 512, 1);

  // From the left of the box (462..562) into it: a push to the right.
  for (int x : {300, 440, 470}) xdo({"mousemove", sx(x), sy(384)});
  const Image pushed = screenUntil([&](const Image& s) { return !redAt(470)(s); });
  EXPECT_GT(redCentre(pushed, top_ + 384) - left_, 515);  // to the right, and still on screen

  xdo({"key", "r"});
  ASSERT_TRUE(viewer->waitForOutput("Reading scene file 'scene.txt'..\n", 2, 10));
  const Image back = screenUntil(redAt(470));
  int differ = 0;
  for (int y = 284; y < 484; ++y)
    for (int x = 362; x < 662; ++x) differ += at(back, x, y).r != at(before, x, y).r;
  EXPECT_EQ(differ, 0);
  EXPECT_TRUE(viewer->running());
}

}  // namespace
