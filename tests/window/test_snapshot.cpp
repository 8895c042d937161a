// The snapshot tool on a real display: pixels and small regions of the pictures it writes,
// and its command-line failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "png_reader.h"
#include "process.h"

namespace {

const Pixel kBlack{0, 0, 0}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};

testing::AssertionResult colorAt(const Image& image, int x, int y, Pixel want, int tolerance = 8) {
  if (image.empty()) return testing::AssertionFailure() << "no picture";
  const Pixel p = image.at(x, y);
  if (std::abs(p.r - want.r) <= tolerance && std::abs(p.g - want.g) <= tolerance &&
      std::abs(p.b - want.b) <= tolerance)
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "(" << x << ", " << y << ") is " << p.r << "," << p.g << ","
                                     << p.b << " instead of " << want.r << "," << want.g << "," << want.b;
}

// Centre of the red-channel mass along row y: where a white stroke crosses it.
double strokeX(const Image& image, int y) {
  double sum = 0, weighted = 0;
  for (int x = 0; x < image.width; ++x) sum += image.at(x, y).r, weighted += image.at(x, y).r * x;
  return sum > 0 ? weighted / sum : -1.0;
}

class Snapshot : public testing::Test {
 protected:
  // A 100 x 100 square mesh centred on its origin in one colour, with its material file.
  void square(const std::string& name, const char* kd) const {
    dir_.write(name + ".mtl", std::string("newmtl paint\nKd ") + kd + "\n");
    dir_.write(name + ".obj", "mtllib " + name + ".mtl\nusemtl paint\n"
               "v -50 0 -50\nv 50 0 -50\nv 50 0 50\nv -50 0 50\nf 1 2 3 4\n");
  }

  RunResult snapshot(std::vector<std::string> args, bool display = true) {
    args.insert(args.begin(), QUILLMOOR_SNAPSHOT);
    return run(args, dir_.path(), 20, display);
  }

  // Renders scene.txt with these actions into a PNG and reads it back.
  Image shot(const std::string& scene, std::vector<std::string> actions = {}) {
    dir_.write("scene.txt", scene);
    std::remove(dir_.file("out.png").c_str());  // a failed run must not leave the last picture
    actions.insert(actions.end(), {"--out", "out.png"});
    last_ = snapshot(actions);
    EXPECT_TRUE(last_.finished);
    EXPECT_EQ(last_.status, 0) << last_.err;
    return readPng(dir_.file("out.png"));
  }

  TempDir dir_;
  RunResult last_;
};

TEST_F(Snapshot, NoSceneIsAllBlack) {
  const RunResult result = snapshot({"--out", "out.png"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "Reading scene file 'scene.txt'..\nSCENE FILE NOT FOUND! ('scene.txt')\n");
  const Image image = readPng(dir_.file("out.png"));
  ASSERT_EQ(image.width, 1024);
  ASSERT_EQ(image.height, 768);
  EXPECT_EQ(std::count(image.rgb.begin(), image.rgb.end(), 0), 1024 * 768 * 3);
}

TEST_F(Snapshot, StaticObjectShowsItsMaterialsWhereDeclared) {
  dir_.write("two.mtl", "newmtl red\nKd 1 0 0\nnewmtl green\nKd 0 1 0\n");
  // Upper-right half red, lower-left half green, with y growing downwards.
  dir_.write("two.obj", "mtllib two.mtl\nv -50 0 -50\nv 50 0 -50\nv 50 0 50\nv -50 0 50\n"
                        "usemtl red\nf 1 2 3\nusemtl green\nf 1 3 4\n");
  const Image image = shot("new_obj box\nobj_mesh two.obj\nobj_mass 0\nobj_pos 200 300\n");
  EXPECT_EQ(last_.out, "Reading scene file 'scene.txt'..\nReading mesh file 'two.obj'..\n"
                       "Reading material file 'two.mtl'..\n");
  EXPECT_TRUE(last_.err.empty()) << last_.err;
  EXPECT_TRUE(colorAt(image, 240, 260, kRed));
  EXPECT_TRUE(colorAt(image, 160, 340, kGreen));
  EXPECT_TRUE(colorAt(image, 153, 346, kGreen));  // corners of the square
  EXPECT_TRUE(colorAt(image, 246, 254, kRed));
  EXPECT_TRUE(colorAt(image, 145, 300, kBlack));  // just outside it
  EXPECT_TRUE(colorAt(image, 255, 300, kBlack));
  EXPECT_TRUE(colorAt(image, 200, 245, kBlack));
  EXPECT_TRUE(colorAt(image, 200, 355, kBlack));
}

TEST_F(Snapshot, ScaleAndBodyAnglePlaceVertices) {
  square("pad", "0 0 1");
  // A bar 100 x 10, green on its left half and red on its right, drawn and colliding at scale 2.
  dir_.write("bar.mtl", "newmtl green\nKd 0 1 0\nnewmtl red\nKd 1 0 0\n");
  dir_.write("bar.obj", "mtllib bar.mtl\nv -50 0 -5\nv 0 0 -5\nv 50 0 -5\nv 50 0 5\nv 0 0 5\n"
                        "v -50 0 5\nusemtl green\nf 1 2 5\nf 1 5 6\nusemtl red\nf 2 3 4\nf 2 4 5\n");
  const std::string scene =
      "scene_mouse_impulse_force 0.0001\n"
      "new_obj pad\nobj_mesh pad.obj\nobj_scale 2\nobj_mass 0\nobj_pos 200 600\n"
      "new_obj bar\nobj_mesh bar.obj\nobj_col_mesh bar.obj\nobj_scale 2\nobj_pos 500 400\n";
  const int ticks = 44;
  // The second move pushes straight down at 90 units right of the bar's centre: j = (0, 100 k)
  // with k = force x fps. The moment is 0.5 x mass x 10^2 (nearest vertex (0, 5) scaled by 2).
  const Image image = shot(scene, {"--move", "590,300", "--move", "590,400", "--ticks", std::to_string(ticks)});
  EXPECT_TRUE(colorAt(image, 295, 600, kBlue));  // the static pad spans 100..300 at scale 2
  EXPECT_TRUE(colorAt(image, 305, 600, kBlack));
  EXPECT_TRUE(colorAt(image, 200, 505, kBlue));
  EXPECT_TRUE(colorAt(image, 200, 495, kBlack));

  const double j = 100 * (0.0001f * 60.0f), seconds = ticks / 60.0;
  const double angle = 90 * j / (0.5 * 1 * 10 * 10) * seconds;
  ASSERT_GT(angle, 0.6);  // a clear turn, clockwise on screen: the pushed right end goes down
  ASSERT_LT(angle, 1.0);
  const int cx = 500, cy = static_cast<int>(std::lround(400 + j * seconds));
  for (double along : {30.0, 60.0, 90.0}) {
    const int dx = static_cast<int>(std::lround(along * std::cos(angle)));
    const int dy = static_cast<int>(std::lround(along * std::sin(angle)));
    EXPECT_TRUE(colorAt(image, cx + dx, cy + dy, kRed)) << along;
    EXPECT_TRUE(colorAt(image, cx - dx, cy - dy, kGreen)) << along;
    EXPECT_TRUE(colorAt(image, cx + dx, cy - dy, kBlack)) << along;  // where the other sense would put it
  }
  EXPECT_TRUE(colorAt(image, cx + static_cast<int>(110 * std::cos(angle)),
                      cy + static_cast<int>(110 * std::sin(angle)), kBlack));  // past the tip
}

TEST_F(Snapshot, ObjectsOverlapInByteWiseNameOrder) {
  square("red", "1 0 0");
  square("green", "0 1 0");
  const Image image = shot("new_obj apple\nobj_mesh green.obj\nobj_mass 0\nobj_pos 350 350\n"
                           "new_obj Zed\nobj_mesh red.obj\nobj_mass 0\nobj_pos 300 300\n");
  EXPECT_TRUE(colorAt(image, 340, 340, kGreen));  // apple, drawn after Zed, covers it
  EXPECT_TRUE(colorAt(image, 260, 260, kRed));
  EXPECT_TRUE(colorAt(image, 390, 390, kGreen));
}

TEST_F(Snapshot, RopesRunBetweenAnchorsUnderOrOverObjects) {
  square("red", "1 0 0");
  // The hook is a moving object without mesh or shape; the rope's second end is a world point.
  const std::string scene =
      "new_obj hook\nobj_pos 100 200\n"
      "new_obj block\nobj_mesh red.obj\nobj_mass 0\nobj_pos 500 200\n"
      "new_rope\nrope_obj_a hook\nrope_anchor_b 900 200\nrope_seg_thickness 8\nrope_color 0 0 1 1\n";
  Image image = shot(scene);
  EXPECT_TRUE(colorAt(image, 500, 200, kRed));
  EXPECT_TRUE(colorAt(image, 300, 200, kBlue));
  EXPECT_TRUE(colorAt(image, 102, 200, kBlue));  // the strip reaches both anchors
  EXPECT_TRUE(colorAt(image, 898, 200, kBlue));
  EXPECT_TRUE(colorAt(image, 94, 200, kBlack));  // and stops there
  EXPECT_TRUE(colorAt(image, 906, 200, kBlack));
  EXPECT_TRUE(colorAt(image, 300, 210, kBlack));

  image = shot("scene_draw_rope_after_objects 1\n" + scene);
  EXPECT_TRUE(colorAt(image, 500, 200, kBlue));
  EXPECT_TRUE(colorAt(image, 500, 230, kRed));
}

TEST_F(Snapshot, ScrollerMovesLeftWithItsShadow) {
  square("back", "0 0 1");
  // The text is " l" (the blank after the keyword belongs to it): one vertical stroke, from
  // the baseline at y 400 up, at a fixed font distance c from the text's left end X. At
  // scale 2 that distance doubles, so X = 2 p1 - p2 from the stroke positions at scales 1 and 2.
  const std::string scene =
      "scene_fps 50\nscene_scroller_text_speed 400\nscene_scroller_text_y 400\n"
      "scene_scroller_text_shadow_dist 20 30\nscene_scroller_text l\n"
      "new_obj back\nobj_mesh back.obj\nobj_scale 7\nobj_mass 0\nobj_pos 512 384\n";
  const Image one = shot(scene, {"--ticks", "60"});
  const double p1 = strokeX(one, 370);
  const Image two = shot(scene + "scene_scroller_text_scale 2\n", {"--ticks", "60"});
  const double p2 = strokeX(two, 370);
  EXPECT_NEAR(2 * p1 - p2, 1024 - 60 * 400 / 50.0, 1.5) << p1 << " " << p2;
  const Image later = shot(scene, {"--ticks", "70"});
  EXPECT_NEAR(p1 - strokeX(later, 370), 10 * 400 / 50.0, 0.5);

  // The black shadow is 20 right and 30 down: below the text's baseline only the shadow shows.
  const int x = static_cast<int>(std::lround(p1));
  EXPECT_TRUE(colorAt(one, x, 370, {255, 255, 255}, 60));
  EXPECT_TRUE(colorAt(one, x + 20, 370, kBlack, 40));
  EXPECT_TRUE(colorAt(one, x + 20, 420, kBlack, 40));
  EXPECT_TRUE(colorAt(one, x, 420, kBlue));
  EXPECT_TRUE(colorAt(one, x + 20, 320, kBlue));  // above the shadow's top
  EXPECT_TRUE(colorAt(two, static_cast<int>(std::lround(p2)) + 20, 420, kBlack, 40));  // not scaled
}

TEST_F(Snapshot, GlowBrightensAndBaseZeroGivesBlack) {
  square("grey", "0.3 0.3 0.3");
  const std::string scene = "new_obj a\nobj_mesh grey.obj\nobj_scale 3\nobj_mass 0\nobj_pos 512 384\n"
                            "new_obj b\nobj_mesh grey.obj\nobj_mass 0\nobj_pos 150 150\n";
  const Image plain = shot(scene);
  EXPECT_TRUE(colorAt(plain, 512, 384, {77, 77, 77}, 2));
  const Image glow = shot(scene + "scene_glow_enabled 1\n");
  EXPECT_GT(glow.at(512, 384).r, 150);
  EXPECT_GT(glow.at(512, 384).g, 150);
  EXPECT_GT(glow.at(340, 384).r, 10);  // the glow spreads past the edge
  EXPECT_GT(glow.at(150, 150).r, 150);  // the right way up
  EXPECT_LT(glow.at(150, 618).r, 10);

  const Image base0 = shot(scene + "scene_glow_enabled 1\nscene_glow_base 0\n");
  ASSERT_FALSE(base0.empty());
  EXPECT_EQ(std::count(base0.rgb.begin(), base0.rgb.end(), 0), 1024 * 768 * 3);

  // Below 512 pixels the glow has no room, and the plain frame is shown.
  const Image small_plain = shot(scene, {"--size", "400x300"});
  const Image small_glow = shot(scene + "scene_glow_enabled 1\n", {"--size", "400x300"});
  EXPECT_EQ(small_glow.width, 400);
  EXPECT_TRUE(colorAt(small_glow, 200, 150, {77, 77, 77}, 2));
  EXPECT_EQ(small_glow.rgb, small_plain.rgb);
}

TEST_F(Snapshot, OtherWindowSizeStretchesTheWorld) {
  square("red", "1 0 0");
  const Image image = shot("new_obj a\nobj_mesh red.obj\nobj_mass 0\nobj_pos 200 300\n", {"--size", "512x600"});
  ASSERT_EQ(image.width, 512);
  ASSERT_EQ(image.height, 600);
  // World x 150..250 and y 250..350 become pixels x 75..125 and y 195.3..273.4.
  EXPECT_TRUE(colorAt(image, 77, 198, kRed));
  EXPECT_TRUE(colorAt(image, 123, 271, kRed));
  EXPECT_TRUE(colorAt(image, 128, 235, kBlack));
  EXPECT_TRUE(colorAt(image, 100, 277, kBlack));
}

TEST_F(Snapshot, SameSceneAndActionsGiveTheSamePicture) {
  square("red", "1 0 0");
  dir_.write("scene.txt", "scene_gravity 0 300\nscene_scroller_text Quillmoor\nscene_mouse_impulse_force 0.02\n"
             "new_obj floor\nobj_mass 0\nobj_col_line 0 700 1024 700 5\n"
             "new_obj box\nobj_mesh red.obj\nobj_col_mesh red.obj\nobj_pos 400 300\n"
             "new_rope\nrope_obj_a box\nrope_anchor_a 40 -40\nrope_anchor_b 700 100\n");
  const std::vector<std::string> actions = {"--ticks", "30", "--move", "300,340", "--move", "380,345", "--ticks", "40"};
  for (const char* out : {"a.png", "b.png"}) {
    std::vector<std::string> args = actions;
    args.insert(args.end(), {"--out", out});
    EXPECT_EQ(snapshot(args).status, 0);
  }
  const std::string a = dir_.read("a.png");
  EXPECT_GT(a.size(), 100u);
  EXPECT_EQ(a, dir_.read("b.png"));
}

TEST_F(Snapshot, MousePushMovesOnlyDynamicObjects) {
  square("red", "1 0 0");
  // Enter at (440, 400), left of the box at 450..550, then 20 to the right, over the box.
  const std::vector<std::string> push = {"--move", "440,400", "--move", "460,400", "--ticks", "15"};
  const std::string box = "new_obj box\nobj_mesh red.obj\nobj_col_mesh red.obj\nobj_pos 500 400\n";
  Image image = shot(box, push);
  EXPECT_TRUE(colorAt(image, 465, 400, kBlack));  // pushed right, by 20 x 6 / 60 x 15 = 30
  EXPECT_TRUE(colorAt(image, 575, 400, kRed));
  EXPECT_TRUE(colorAt(image, 520, 360, kRed));
  EXPECT_TRUE(colorAt(image, 520, 340, kBlack));  // not up or down

  for (const std::string& still : {box + "obj_mass 0\n", "scene_mouse_impulse_force_max 0\n" + box}) {
    image = shot(still, push);
    EXPECT_TRUE(colorAt(image, 455, 400, kRed)) << still;
    EXPECT_TRUE(colorAt(image, 545, 400, kRed)) << still;
    EXPECT_TRUE(colorAt(image, 555, 400, kBlack)) << still;
  }
}

TEST_F(Snapshot, CommandLineAndOutputFailures) {
  using Args = std::vector<std::string>;
  for (const Args& bad : {Args{"--size", "10by10", "--out", "x.png"}, Args{"--bogus", "1", "--out", "x.png"},
                          Args{"--ticks", "-1", "--out", "x.png"}, Args{"--key", "rr", "--out", "x.png"},
                          Args{"--ticks", "3"}, Args{"--out"}}) {
    const RunResult result = snapshot(bad);
    EXPECT_EQ(result.status, 2) << bad[0];
    EXPECT_EQ(result.out, "") << bad[0];
    EXPECT_EQ(countOf(result.err, "\n"), 1) << result.err;
  }
  EXPECT_FALSE(std::ifstream(dir_.file("x.png")).good());

  RunResult result = snapshot({"--out", "no-such-dir/x.png"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(countOf(result.err, "\n"), 1) << result.err;

  result = snapshot({"--out", "x.png"}, false);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(countOf(result.err, "\n"), 1) << result.err;
  EXPECT_EQ(result.out, "");
}

}  // namespace
