// The snapshot tool on a real display: pixels of the pictures it writes, and its failures.
#include <gtest/gtest.h>

#include "process.h"

const Pixel kBlack{0, 0, 0}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255},
    kGrey{77, 77, 77};
struct Probe {
  int x, y;
  Pixel want;
  int tolerance = 8;
};  // on each channel

void expectColours(const Image& image, const std::vector<Probe>& probes,
                   const std::string& what = "") {
  ASSERT_FALSE(image.rgb.empty()) << "no picture " << what;
  for (const auto& [x, y, want, tolerance] : probes) {
    const Pixel p = image.at(x, y);
    EXPECT_LE(std::max({std::abs(p.r - want.r), std::abs(p.g - want.g), std::abs(p.b - want.b)}),
              tolerance)
        << "(" << x << ", " << y << ") is " << p.r << "," << p.g << "," << p.b << " " << what;
  }
}

bool allBlack(const Image& image) {
  const auto zeros = std::count(image.rgb.begin(), image.rgb.end(), 0);
  return image.width == 1024 && image.height == 768 && zeros == 1024 * 768 * 3;
}

double strokeX(const Image& image, int y) {  // centre of the red-channel mass along row y
  double sum = 0, weighted = 0;
  for (int x = 0; x < image.width; ++x) sum += image.at(x, y).r, weighted += image.at(x, y).r * x;
  return sum > 0 ? weighted / sum : -1.0;
}

// An object with this mesh at this position, static unless `more` says otherwise.
std::string obj(std::string name, std::string mesh, std::string pos,
                std::string more = "obj_mass 0\n") {
  return "new_obj " + name + "\nobj_mesh " + mesh + ".obj\nobj_pos " + pos + "\n" + more;
}

RunResult snapshot(std::vector<std::string> args, bool display = true) {
  args.insert(args.begin(), QUILLMOOR_SNAPSHOT);
  return run(args, display);
}

class Snapshot : public testing::Test {
 protected:
  Image shot(const std::string& scene,
             std::vector<std::string> actions = {}) {   // scene's picture after actions
    if (!scene.empty()) writeFile("scene.txt", scene);  // else there is none
    std::remove("out.png");  // a failed run must not leave the last picture
    actions.insert(actions.end(), {"--out", "out.png"});
    last_ = snapshot(actions);
    EXPECT_EQ(last_.status, 0) << last_.err;
    return readPng("out.png");
  }
  TempDir dir_;
  RunResult last_;
};

TEST_F(Snapshot, NoSceneIsAllBlack) {
  EXPECT_TRUE(allBlack(shot("")));
  EXPECT_EQ(last_.out, "Reading scene file 'scene.txt'..\nSCENE FILE NOT FOUND! ('scene.txt')\n");
}

TEST_F(Snapshot, StaticObjectShowsItsMaterialsWhereDeclared) {
  // Upper-right half red, lower-left half green, with y growing downwards.
  writeFile("two.mtl", "newmtl red\nKd 1 0 0\nnewmtl green\nKd 0 1 0\n");
  writeFile("two.obj",
            "mtllib two.mtl\nv -50 0 -50\nv 50 0 -50\nv 50 0 50\nv -50 0 50\nusemtl red\nf 1 2 3\n"
            "usemtl green\nf 1 3 4\n");
  const Image image = shot(obj("box", "two", "200 300"));
  EXPECT_EQ(last_.out,
            "Reading scene file 'scene.txt'..\nReading mesh file 'two.obj'..\n"
            "Reading material file 'two.mtl'..\n");
  EXPECT_EQ(last_.err, "");
  expectColours(image, {{240, 260, kRed},
                        {160, 340, kGreen},
                        {153, 346, kGreen},
                        {246, 254, kRed},  // then outside
                        {145, 300, kBlack},
                        {255, 300, kBlack},
                        {200, 245, kBlack},
                        {200, 355, kBlack}});
}

TEST_F(Snapshot, ScaleAndBodyAnglePlaceVertices) {
  // A bar 100 x 10, green on its left half and red on its right, drawn and colliding at scale 2.
  writeFile("bar.mtl", "newmtl green\nKd 0 1 0\nnewmtl red\nKd 1 0 0\n");
  writeFile("bar.obj",
            "mtllib bar.mtl\nv -50 0 -5\nv 0 0 -5\nv 50 0 -5\nv 50 0 5\nv 0 0 5\nv -50 0 5\n"
            "usemtl green\nf 1 2 5\nf 1 5 6\nusemtl red\nf 2 3 4\nf 2 4 5\n");
  const std::string pad = obj("pad", "blue", "200 600", "obj_scale 2\nobj_mass 0\n");
  const Image image = shot("scene_mouse_impulse_force 0.0001\n" + pad +
                               obj("bar", "bar", "500 400", "obj_col_mesh bar.obj\nobj_scale 2\n"),
                           {"--move", "590,300", "--move", "590,400", "--ticks", "44"});
  expectColours(
      image,
      {{295, 600, kBlue}, {305, 600, kBlack}, {200, 505, kBlue}, {200, 495, kBlack}});  // the pad
  // The second move pushes down at 90 right of the centre: j = (0, 100 force fps), against a moment
  // 0.5 mass 10^2 (nearest vertex (0, 5) times 2): about 0.79 radians clockwise in 44 ticks.
  const double j = 100 * (0.0001f * 60.0f), seconds = 44 / 60.0,
               angle = 90 * j / (0.5 * 10 * 10) * seconds;
  const auto at = [&](double along, double down,
                      Pixel want) {  // down = -along: where the other turn puts it
    return Probe{500 + int(std::lround(along * std::cos(angle))),
                 int(std::lround(400 + j * seconds) + std::lround(down * std::sin(angle))), want};
  };
  expectColours(
      image, {at(30, 30, kRed), at(60, 60, kRed), at(90, 90, kRed), at(-30, -30, kGreen),
              at(-60, -60, kGreen), at(-90, -90, kGreen), at(30, -30, kBlack), at(60, -60, kBlack),
              at(90, -90, kBlack), at(110, 110, kBlack)});  // the last one past the tip
}

TEST_F(Snapshot, ObjectsOverlapInByteWiseNameOrder) {  // apple, drawn after Zed, covers it
  const Image image = shot(obj("apple", "green", "350 350") + obj("Zed", "red", "300 300"));
  expectColours(image, {{340, 340, kGreen}, {260, 260, kRed}, {390, 390, kGreen}});
}

TEST_F(Snapshot, RopesRunBetweenAnchorsUnderOrOverObjects) {
  // The hook is a moving object without mesh or shape; the rope's second end is a world point.
  const std::string scene =
      "new_obj hook\nobj_pos 100 200\n" + obj("block", "red", "500 200") +
      "new_rope\n"
      "rope_obj_a hook\nrope_anchor_b 900 200\nrope_seg_thickness 8\nrope_color 0 0 1 1\n";
  expectColours(shot(scene), {{500, 200, kRed},
                              {300, 200, kBlue},
                              {102, 200, kBlue},
                              {898, 200, kBlue},
                              {94, 200, kBlack},
                              {906, 200, kBlack},
                              {300, 210, kBlack}});
  expectColours(shot("scene_draw_rope_after_objects 1\n" + scene),
                {{500, 200, kBlue}, {500, 230, kRed}});
}

TEST_F(Snapshot, ScrollerMovesLeftWithItsShadow) {
  // The text " l" (the keyword's blank belongs to it) is one stroke up from the baseline at y 400,
  // a font distance right of the text's left end X that doubles at scale 2: X = 2 p1 - p2 from the
  // strokes' x.
  const std::string scene =
      "scene_fps 50\nscene_scroller_text_speed 400\nscene_scroller_text_y 400\n"
      "scene_scroller_text_shadow_dist 20 30\nscene_scroller_text l\n" +
      obj("back", "blue", "512 384", "obj_scale 7\nobj_mass 0\n");
  const Image one = shot(scene, {"--ticks", "60"});
  const Image two = shot(scene + "scene_scroller_text_scale 2\n", {"--ticks", "60"});
  const double p1 = strokeX(one, 370), p2 = strokeX(two, 370);
  EXPECT_NEAR(2 * p1 - p2, 1024 - 60 * 400 / 50.0, 1.5) << p1 << " " << p2;
  EXPECT_NEAR(p1 - strokeX(shot(scene, {"--ticks", "70"}), 370), 10 * 400 / 50.0, 0.5);
  // The black shadow is 20 right and 30 down, unscaled: below the baseline only it shows.
  const int x = int(std::lround(p1));
  expectColours(one, {{x, 370, {255, 255, 255}, 60},
                      {x + 20, 370, kBlack, 40},
                      {x + 20, 420, kBlack, 40},
                      {x, 420, kBlue},
                      {x + 20, 320, kBlue}});  // the last one above the shadow's top
  expectColours(two, {{int(std::lround(p2)) + 20, 420, kBlack, 40}});
}

TEST_F(Snapshot, GlowBrightensAndBaseZeroGivesBlack) {
  const std::string scene =
      obj("a", "grey", "512 384", "obj_scale 3\nobj_mass 0\n") + obj("b", "grey", "150 150");
  const std::string glow = scene + "scene_glow_enabled 1\n";
  expectColours(shot(scene), {{512, 384, kGrey, 2}});
  const Image lit = shot(glow);
  EXPECT_TRUE(lit.at(512, 384).r > 150 && lit.at(512, 384).g > 150);
  EXPECT_GT(lit.at(340, 384).r, 10);   // the glow spreads past the edge
  EXPECT_GT(lit.at(150, 150).r, 150);  // the right way up
  EXPECT_LT(lit.at(150, 618).r, 10);
  EXPECT_TRUE(allBlack(shot(glow + "scene_glow_base 0\n")));
  // Below 512 pixels the glow has no room, and the plain frame is shown.
  const Image small = shot(glow, {"--size", "400x300"});
  EXPECT_EQ(small.width, 400);
  expectColours(small, {{200, 150, kGrey, 2}});
  EXPECT_EQ(small.rgb, shot(scene, {"--size", "400x300"}).rgb);
}

TEST_F(Snapshot, OtherWindowSizeStretchesTheWorld) {
  const Image image = shot(obj("a", "red", "200 300"), {"--size", "512x600"});
  EXPECT_TRUE(image.width == 512 && image.height == 600) << image.width << "x" << image.height;
  // World x 150..250 and y 250..350 become pixels x 75..125 and y 195.3..273.4.
  expectColours(image, {{77, 198, kRed}, {123, 271, kRed}, {128, 235, kBlack}, {100, 277, kBlack}});
}

TEST_F(Snapshot, SameSceneAndActionsGiveTheSamePicture) {
  writeFile("scene.txt",
            "scene_gravity 0 300\nscene_scroller_text Quillmoor\nscene_mouse_impulse_force 0.02\n"
            "new_obj floor\nobj_mass 0\nobj_col_line 0 700 1024 700 5\n" +
                obj("box", "red", "400 300", "obj_col_mesh red.obj\n") +
                "new_rope\nrope_obj_a box\nrope_anchor_a 40 -40\nrope_anchor_b 700 100\n");
  for (const char* out : {"a.png", "b.png"})
    EXPECT_EQ(snapshot({"--ticks", "30", "--move", "300,340", "--move", "380,345", "--ticks", "40",
                        "--out", out})
                  .status,
              0);
  EXPECT_GT(readFile("a.png").size(), 100u);
  EXPECT_EQ(readFile("a.png"), readFile("b.png"));
}

TEST_F(Snapshot, MousePushMovesOnlyDynamicObjects) {
  // Enter at (440, 400), left of the box at 450..550, then 20 to the right, over the box.
  const std::vector<std::string> push = {"--move", "440,400", "--move", "460,400", "--ticks", "15"};
  const std::string box = obj("box", "red", "500 400", "obj_col_mesh red.obj\n");
  // Pushed right by 20 x 6 / 60 x 15 = 30, and not up or down.
  expectColours(shot(box, push),
                {{465, 400, kBlack}, {575, 400, kRed}, {520, 360, kRed}, {520, 340, kBlack}});
  for (const std::string& still : {box + "obj_mass 0\n", "scene_mouse_impulse_force_max 0\n" + box})
    expectColours(shot(still, push), {{455, 400, kRed}, {545, 400, kRed}, {555, 400, kBlack}},
                  still);
}

TEST_F(Snapshot, CommandLineAndOutputFailures) {
  const struct {
    std::vector<std::string> args;
    int status;
    bool display = true;
  } cases[] = {{{"--size", "10by10", "--out", "x.png"}, 2},
               {{"--bogus", "1", "--out", "x.png"}, 2},
               {{"--ticks", "3"}, 2},
               {{"--ticks", "-1", "--out", "x.png"}, 2},
               {{"--key", "rr", "--out", "x.png"}, 2},
               {{"--out"}, 2},
               {{"--out", "no-such-dir/x.png"}, 1},
               {{"--out", "x.png"}, 1, false}};
  for (const auto& [args, status, display] : cases) {
    const RunResult result = snapshot(args, display);
    EXPECT_EQ(result.status, status) << args[0] << " " << args.back();
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_TRUE(result.out.empty() || args.back() == "no-such-dir/x.png")
        << result.out;  // found after the scene
  }
  EXPECT_FALSE(std::filesystem::exists("x.png"));
}
