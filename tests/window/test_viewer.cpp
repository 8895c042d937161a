// The viewer on a real display, driven with xdotool: command line, messages, keys, title, mouse
// push.
#include <gtest/gtest.h>

#include "process.h"

namespace {

const std::string kFind = "search --onlyvisible --name ^Quillmoor";

class Viewer : public testing::Test {
 protected:
  // Xvfb resets whenever its last client leaves, and a program connecting just then fails to
  // open the display: an X client (the keeper) stays connected all along.
  void SetUp() override {
    ASSERT_TRUE(keeper_.waitFor("x:")) << keeper_.err();
    xdo("mousemove 5 5");  // over the window, away from objects
    writePaints();
  }
  // A window outlives its killed process for a moment; the next test must not find it.
  void TearDown() override {
    EXPECT_TRUE(eventually([&] { return xdo(kFind, false).empty(); }));
  }
  std::string xdo(const std::string& arguments, bool check = true) {
    const RunResult result = run({"sh", "-c", "exec xdotool " + arguments});
    EXPECT_TRUE(!check || result.status == 0) << arguments << ": " << result.err;
    return result.out;
  }
  // The id of the viewer's mapped window, or "" when none shows up in time. Also notes where
  // it sits: without a window manager freeglut's unset position leaves it at (-1, -1).
  std::string window() {
    std::string shell;
    return eventually([&] {
      shell = xdo(kFind + " getwindowgeometry --shell", false);
      return std::sscanf(shell.c_str(), "WINDOW=%*d X=%d Y=%d", &left_, &top_) == 2;
    })
               ? shell.substr(7, shell.find('\n') - 7)
               : "";
  }
  // Takes screenshots until the mean x of the red pixels in the window's row 384 is close to x.
  bool redCentreReaches(double x) {
    return eventually([&] {
      run({"import", "-window", "root", "PNG24:screen.png"});
      const Image screen("screen.png");
      double sum = 0, count = 0;
      for (int i = 0; i < screen.width && !screen.rgb.empty(); ++i)
        if (const Pixel p = screen.at(i, top_ + 384); p.r > 200 && p.g < 50 && p.b < 50)
          sum += i - left_, ++count;
      return count > 0 && std::abs(sum / count - x) <= 1;
    });
  }

  Scratch scratch_;
  Background keeper_{{"stdbuf", "-oL", "xdotool", "getmouselocation", "sleep", "600"}};
  int left_ = 0, top_ = 0;
};

TEST_F(Viewer, AHelpOptionPrintsTheUsageAndExits) {
  const RunResult result = run({QUILLMOOR_VIEWER, "--fullscreen", "-?", "--scene", "other.txt"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "Unrecognized command line parameter: '-?'\n\nList of parameters:\n"
            "   --fullscreen\n   --scene <scene_file_name>\n");
}

TEST_F(Viewer, MissingSceneIsReportedAndReloadFindsItLater) {
  const std::string missing = "Reading scene file 'x'..\nSCENE FILE NOT FOUND! ('x')\n";
  Background viewer({QUILLMOOR_VIEWER, "--scene", "x"});
  ASSERT_TRUE(viewer.waitFor(missing)) << viewer.err();
  const std::string id = window();
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(xdo("getwindowname " + id),
            "Quillmoor -- Made by Velkori | https://velkori.example.com/\n");
  // Each line arrives while the viewer runs, although its output is no terminal.
  xdo("key r");
  ASSERT_TRUE(viewer.waitFor(missing + missing));
  writeFile("x", "new_obj a\nobj_mesh m.obj\n");
  xdo("key r");
  ASSERT_TRUE(viewer.waitFor("MESH FILE NOT FOUND! ('m.obj')\n"));
  EXPECT_TRUE(viewer.running());
  xdo("key R");  // upper case does nothing
  xdo("key Escape");
  ASSERT_TRUE(viewer.waitExit());
  EXPECT_EQ(viewer.status, 0);
  EXPECT_EQ(viewer.out(), missing + missing +
                              "Reading scene file 'x'..\nReading mesh file 'm.obj'..\n" +
                              "MESH FILE NOT FOUND! ('m.obj')\n");
}

TEST_F(Viewer, LastSceneOptionLoadsAndReloadUndoesAMousePushAfterGlowFrames) {
  writeFile("a.txt", "");
  writeFile("box.txt",
            "new_obj box\nobj_mesh red.obj\nobj_col_mesh red.obj\nobj_pos 512 384\n"
            "scene_mouse_impulse_force 0.05\nscene_glow_enabled 1\n");
  Background viewer({QUILLMOOR_VIEWER, "--scene", "a.txt", "--bogus", "--scene", "box.txt"});
  ASSERT_FALSE(window().empty()) << viewer.running() << " " << viewer.err();
  ASSERT_TRUE(redCentreReaches(512));
  const std::string loaded =
      "Reading scene file 'box.txt'..\nReading mesh file 'red.obj'..\n"
      "Reading material file 'red.mtl'..\n";
  EXPECT_EQ(viewer.out(), loaded);
  EXPECT_EQ(viewer.err(), "");
  // From the left of the box (462..562) into it: a push to the right, the box still on screen.
  for (int x : {300, 440, 470})
    xdo("mousemove " + std::to_string(left_ + x) + " " + std::to_string(top_ + 384));
  EXPECT_TRUE(eventually([&] { return !redCentreReaches(512); }));
  xdo("key r");
  ASSERT_TRUE(viewer.waitFor(loaded + loaded));
  EXPECT_TRUE(redCentreReaches(512));
  EXPECT_TRUE(viewer.running());
}

}  // namespace
