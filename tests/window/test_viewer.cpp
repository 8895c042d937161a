// The viewer on a real display, driven with xdotool: command line, messages, keys, title, mouse.
#include <gtest/gtest.h>

#include "process.h"

namespace {

// The mean x of the red pixels in the window's row 384, from a screenshot. Without a window
// manager freeglut's unset position leaves the window at (-1, -1).
double redCentre() {
  run("import -window root PNG24:screen.png");
  const Image screen("screen.png");
  double sum = 0, count = 0;
  for (int x = 0; x < screen.width; ++x)
    if (const Pixel p = screen.at(x, 383); p.r > 200 && p.g < 50 && p.b < 50) sum += x + 1, ++count;
  return count ? sum / count : -1;
}

TEST(Viewer, HelpThenReloadsOnRPushesWithTheMouseAfterGlowFramesAndEndsOnEscape) {
  Scratch scratch;
  // Xvfb resets whenever its last client leaves, and a program connecting just then fails to
  // open the display: an X client (the keeper) stays connected all along.
  Background keeper({"stdbuf", "-oL", "xdotool", "getmouselocation", "sleep", "600"});
  ASSERT_TRUE(keeper.waitFor("x:")) << keeper.err();
  const auto xdo = [](const std::string& arguments, bool check = true) {
    const RunResult result = run("xdotool " + arguments);
    EXPECT_TRUE(!check || result.status == 0) << arguments << ": " << result.err;
    return result.out;
  };
  xdo("mousemove 5 5");  // over the window, away from objects
  writePaints();
  const RunResult help = run(QUILLMOOR_VIEWER " --fullscreen -? --scene other.txt");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out,
            "Unrecognized command line parameter: '-?'\n\nList of parameters:\n"
            "   --fullscreen\n   --scene <scene_file_name>\n");
  const std::string missing = "Reading scene file 'box.txt'..\nSCENE FILE NOT FOUND! ('box.txt')\n",
                    loaded =
                        "Reading scene file 'box.txt'..\nReading mesh file 'red.obj'..\n"
                        "Reading material file 'red.mtl'..\n";
  writeFile("a.txt", "");
  Background viewer({QUILLMOOR_VIEWER, "--scene", "a.txt", "--bogus", "--scene", "box.txt"});
  ASSERT_TRUE(viewer.waitFor(missing)) << viewer.err();
  std::string id;
  ASSERT_TRUE(eventually(
      [&] { return !(id = xdo("search --onlyvisible --name ^Quillmoor", false)).empty(); }));
  EXPECT_EQ(xdo("getwindowname " + id),
            "Quillmoor -- Made by Velkori | https://velkori.example.com/\n");
  // Created afterwards, the scene loads on the next reset; each line arrives while the viewer
  // runs, although its output is no terminal.
  writeFile("box.txt",
            "new_obj box\nobj_mesh red.obj\nobj_col_mesh red.obj\nobj_pos 512 384\n"
            "scene_mouse_impulse_force 0.05\nscene_glow_enabled 1\n");
  xdo("key r");
  ASSERT_TRUE(viewer.waitFor(missing + loaded));
  ASSERT_TRUE(eventually([&] { return std::abs(redCentre() - 512) <= 1; }));
  // From the left of the box (462..562) into it: a push to the right, the box still on screen.
  for (const char* x : {"299", "439", "469"}) xdo(std::string("mousemove ") + x + " 383");
  EXPECT_TRUE(eventually([&] { return redCentre() > 520; }));
  xdo("key r");
  ASSERT_TRUE(viewer.waitFor(missing + loaded + loaded));
  EXPECT_TRUE(eventually([&] { return std::abs(redCentre() - 512) <= 1; }));
  xdo("key R");  // upper case does nothing
  xdo("key Escape");
  ASSERT_TRUE(viewer.waitExit());
  EXPECT_EQ(viewer.status, 0);
  EXPECT_EQ(viewer.out(), missing + loaded + loaded);
  EXPECT_EQ(viewer.err(), "");
  // A window outlives its killed process for a moment; it must go too.
  EXPECT_TRUE(
      eventually([&] { return xdo("search --onlyvisible --name ^Quillmoor", false).empty(); }));
}

}  // namespace
