// The programs on a real display: the viewer driven with xdotool (command line, messages, keys,
// title, mouse), -C and --version, --frames, --watch and --stats.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <regex>

#include "process.h"

namespace {

// The viewer driven with xdotool. Xvfb resets whenever its last client leaves, and a program
// connecting just then fails to open the display: an X client (the keeper) stays connected.
class Viewer : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(keeper_.waitFor("x:")) << keeper_.err();
    xdo("mousemove 5 5");  // over the window, away from objects
    copyPaints();
  }
  // A killed viewer's window lingers for a moment; the next test must not find it.
  void TearDown() override {
    viewer_.reset();
    eventually([] { return window().empty(); });
  }
  static std::string xdo(const std::string& arguments) {
    const RunResult result = run("xdotool " + arguments);
    EXPECT_EQ(result.status, 0) << arguments << ": " << result.err;
    return result.out;
  }
  // Empty when no window is shown (xdotool then fails).
  static std::string window() { return run("xdotool search --onlyvisible --name ^Quillmoor").out; }
  // Starts the viewer and waits for its window and for `out` on its standard output.
  void start(std::vector<std::string> arguments, const std::string& out) {
    arguments.insert(arguments.begin(), QUILLMOOR_VIEWER);
    viewer_.emplace(arguments);
    EXPECT_TRUE(eventually([&] { return !(id_ = window()).empty(); })) << viewer_->err();
    ASSERT_TRUE(viewer_->waitFor(out)) << viewer_->out() << viewer_->err();
  }
  // The mean x of the red pixels in the window's row 384, from a screenshot. Without a window
  // manager freeglut's unset position leaves the window at (-1, -1).
  static double redCentre() {
    run("import -window root PNG24:screen.png");
    const Image screen("screen.png");
    double sum = 0, count = 0;
    for (int x = 0; x < screen.width; ++x)
      if (const Pixel p = screen.at(x, 383); p.r > 200 && p.g < 50 && p.b < 50)
        sum += x + 1, ++count;
    return count ? sum / count : -1;
  }
  // Waits for the red box's centre to come between `low` and `high`.
  static void expectRedCentre(double low, double high, const char* when) {
    double x = -1;
    EXPECT_TRUE(eventually([&] { return (x = redCentre()) >= low && x <= high; }))
        << when << ": " << x;
  }

  Scratch scratch_;
  Background keeper_{{"stdbuf", "-oL", "xdotool", "getmouselocation", "sleep", "600"}};
  std::optional<Background> viewer_;
  std::string id_;  // the viewer's window
};

// A red box in the middle that the mouse pushes, drawn through the glow.
const char kBox[] =
    "new_obj box\nobj_mesh red.obj\nobj_col_mesh red.obj\nobj_pos 512 384\n"
    "scene_mouse_impulse_force 0.05\nscene_glow_enabled 1\n";
const std::string kMissing = "Reading scene file 'box.txt'..\nSCENE FILE NOT FOUND! ('box.txt')\n";
const std::string kLoaded =
    "Reading scene file 'box.txt'..\nReading mesh file 'red.obj'..\n"
    "Reading material file 'red.mtl'..\n";

TEST_F(Viewer, UnknownOptionListsTheParameters) {
  const RunResult help = run(QUILLMOOR_VIEWER " --fullscreen -? --scene other.txt");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out,
            "Unrecognized command line parameter: '-?'\n\nList of parameters:\n"
            "   --fullscreen\n   --scene <scene_file_name>\n");
}

TEST_F(Viewer, LastSceneOptionWinsAndAMissingSceneLoadsOnRAfterItIsCreated) {
  writeFile("a.txt", "");
  start({"--scene", "a.txt", "--bogus", "--scene", "box.txt"}, kMissing);
  EXPECT_EQ(xdo("getwindowname " + id_),
            "Quillmoor -- Made by Velkori | https://velkori.example.com/\n");
  // Each line arrives while the viewer runs, although its output is no terminal.
  writeFile("box.txt", kBox);
  xdo("key r");
  ASSERT_TRUE(viewer_->waitFor(kMissing + kLoaded)) << viewer_->out();
  expectRedCentre(511, 513, "loaded box");
  xdo("key R");  // upper case does nothing
  xdo("key Escape");
  ASSERT_TRUE(viewer_->waitExit());
  EXPECT_EQ(viewer_->out(), kMissing + kLoaded);
  EXPECT_EQ(viewer_->err(), "");
}

TEST_F(Viewer, MousePushesTheBoxAndRPutsItBack) {
  writeFile("box.txt", kBox);
  start({"--scene", "box.txt"}, kLoaded);
  expectRedCentre(511, 513, "before the push");
  // From the left of the box (462..562) into it: a push to the right, the box still on screen.
  for (const char* x : {"299", "439", "469"}) xdo(std::string("mousemove ") + x + " 383");
  expectRedCentre(520, 1024, "after the push");
  xdo("key r");
  ASSERT_TRUE(viewer_->waitFor(kLoaded + kLoaded)) << viewer_->out();
  expectRedCentre(511, 513, "after the reload");
}

TEST_F(Viewer, EscapeEndsWithStatusZeroAndTakesTheWindow) {
  writeFile("box.txt", kBox);
  start({"--scene", "box.txt"}, kLoaded);
  xdo("key Escape");
  ASSERT_TRUE(viewer_->waitExit());
  EXPECT_EQ(viewer_->status, 0);
  EXPECT_EQ(viewer_->err(), "");
  // A window outlives its killed process for a moment; it must go too.
  EXPECT_TRUE(eventually([] { return window().empty(); })) << "window " << id_ << " stays";
}

TEST(SharedOptions, DashCReadsSceneMeshesAndOutputInTheDirectory) {
  Scratch dir;
  copyPaints();
  std::filesystem::create_directory("sub");
  for (const char* file : {"red.obj", "red.mtl"}) std::filesystem::copy(file, "sub");
  writeFile("sub/scene.txt", "new_obj box\nobj_mesh red.obj\nobj_pos 200 300\nobj_mass 0\n");
  const RunResult shot = run(QUILLMOOR_SNAPSHOT " -C sub --out out.png");
  EXPECT_EQ(shot.status, 0) << shot.err;
  const Image image = Image("sub/out.png");
  ASSERT_FALSE(image.rgb.empty());
  EXPECT_EQ(image.at(200, 300).r, 255);
  EXPECT_FALSE(std::filesystem::exists("out.png"));

  // Nothing is read when the directory cannot be entered; the viewer says so without a display.
  // (The installed snapshot tool's --version is the install test's.)
  const RunResult failed = run("env -u DISPLAY " QUILLMOOR_VIEWER " -C missing --scene x");
  EXPECT_EQ(failed.status, 2);
  EXPECT_EQ(failed.out, "");
  EXPECT_EQ(failed.err,
            "quillmoor: cannot change to directory 'missing': No such file or directory\n");
  const RunResult version = run("env -u DISPLAY " QUILLMOOR_VIEWER " --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "quillmoor " QUILLMOOR_VERSION_TEXT "\n");
}

TEST(Frames, ExactlyNDistinctPicturesAndTheSameInAnotherRun) {
  Scratch dir;
  copyPaints();
  writeFile("scene.txt", "scene_gravity 0 500\nnew_obj box\nobj_mesh red.obj\nobj_pos 512 200\n");
  const RunResult result = run(QUILLMOOR_SNAPSHOT " --ticks 5 --out run.png --frames 4 --every 3");
  ASSERT_EQ(result.status, 0) << result.err;
  std::vector<std::string> pictures;
  for (const auto& entry : std::filesystem::directory_iterator("."))
    if (entry.path().extension() == ".png") pictures.push_back(entry.path().filename());
  std::sort(pictures.begin(), pictures.end());
  EXPECT_EQ(pictures, words("run-0001.png run-0002.png run-0003.png run-0004.png"));
  for (size_t i = 1; i < pictures.size(); ++i)
    EXPECT_NE(readFile(pictures[i]), readFile(pictures[i - 1])) << i;
  // Frame k is the single picture after the actions and (k - 1) x K more ticks, byte for byte
  // in another run.
  ASSERT_EQ(run(QUILLMOOR_SNAPSHOT " --ticks 11 --out single.png").status, 0);
  EXPECT_EQ(readFile("single.png"), readFile("run-0003.png"));
  // The extension in any case.
  ASSERT_EQ(run(QUILLMOOR_SNAPSHOT " --out up.PNG --frames 1").status, 0);
  EXPECT_TRUE(std::filesystem::exists("up-0001.png"));
}

// --watch reloads once per save and only then; --stats reports on standard error only.
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
  copyPaints();
  const std::string scene =
      "scene_gravty 0 500\nnew_obj a\nobj_mesh red.obj\nobj_mass 0\nobj_mesh sub/m.obj\n"
      "obj_col_line 0 0 10 0 1\n";
  writeFile("scene.txt", scene);
  const auto started = std::chrono::steady_clock::now();
  Background still({QUILLMOOR_VIEWER, "--stats"});
  Background viewer({QUILLMOOR_VIEWER, "--watch"});
  expectLoads(viewer, 1, "start");
  EXPECT_EQ(viewer.err(),
            "scene.txt:1: warning: unknown keyword 'scene_gravty' is ignored (did you mean "
            "'scene_gravity'?)\nscene.txt:5: warning: MESH FILE NOT FOUND! ('sub/m.obj')\n"
            "quillmoor --watch: 2 warnings in 'scene.txt'\n");

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
  EXPECT_NE(viewer.err().find("--watch: cannot read the scene file 'scene.txt'"),
            std::string::npos);
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
  EXPECT_EQ(loads(still), 1);
  // Digits per number are the unit test's; here the rate asked and what the real space holds.
  const std::regex stats(
      "(stats: [0-9.]+ ticks/s \\(asked 60\\.0\\), physics [0-9.]+ ms mean [0-9.]+ ms "
      "worst, drawing [0-9.]+ ms/frame, 0 bodies, 1 shapes, 0 constraints\n)+");
  const std::string report = still.err();
  EXPECT_TRUE(std::regex_match(report, stats)) << report;
  const std::chrono::duration<double> ran = std::chrono::steady_clock::now() - started;
  EXPECT_LE(std::count(report.begin(), report.end(), '\n'), ran.count() + 1);  // one a second
}

}  // namespace
