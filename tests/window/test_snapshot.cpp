// The snapshot tool on a real display: the pixels of the pictures it writes.
#include <gtest/gtest.h>

#include "process.h"

namespace {

const Pixel kBlack{0, 0, 0}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255},
    kGrey{77, 77, 77};
struct Probe {
  int x, y;
  Pixel want;
  int tolerance = 8;  // on each channel
};

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

// An object with this mesh at this position, static unless `more` says otherwise.
std::string obj(std::string name, std::string mesh, std::string pos,
                std::string more = "obj_mass 0\n") {
  return "new_obj " + name + "\nobj_mesh " + mesh + ".obj\nobj_pos " + pos + "\n" + more;
}

class Snapshot : public testing::Test {
 protected:
  void SetUp() override { writePaints(); }
  // The scene's picture after the actions; no scene file for an empty text.
  Image shot(const std::string& scene, std::vector<std::string> actions = {}) {
    if (!scene.empty()) writeFile("scene.txt", scene);
    std::remove("out.png");  // a failed run must not leave the last picture
    actions.insert(actions.begin(), QUILLMOOR_SNAPSHOT);
    actions.insert(actions.end(), {"--out", "out.png"});
    last_ = run(actions);
    EXPECT_EQ(last_.status, 0) << last_.err;
    return Image("out.png");
  }
  Scratch scratch_;
  RunResult last_;
};

TEST_F(Snapshot, NoSceneIsAllBlack) {
  const Image image = shot("");
  EXPECT_TRUE(image.width == 1024 && image.height == 768 &&
              std::count(image.rgb.begin(), image.rgb.end(), 0) == 1024 * 768 * 3);
  EXPECT_EQ(last_.out, "Reading scene file 'scene.txt'..\nSCENE FILE NOT FOUND! ('scene.txt')\n");
}

TEST_F(Snapshot, ObjectsInNameOrderAndRopesUnderOrOverThem) {
  // Upper-right half red, lower-left half green, with y growing downwards.
  writeFile("two.mtl", "newmtl red\nKd 1 0 0\nnewmtl green\nKd 0 1 0\n");
  writeFile("two.obj",
            "mtllib two.mtl\nv -50 0 -50\nv 50 0 -50\nv 50 0 50\nv -50 0 50\n"
            "usemtl red\nf 1 2 3\nusemtl green\nf 1 3 4\n");
  // apple, drawn after Zed, covers it; a blue rope, 8 thick in 6 segments, runs from a moving
  // object without mesh or shape at (100, 450) to the world point (500, 750) across a block.
  const std::string scene = obj("two", "two", "200 300") + obj("apple", "green", "650 350") +
                            obj("Zed", "red", "600 300") + obj("block", "red", "300 600") +
                            "new_obj hook\nobj_pos 100 450\nnew_rope\nrope_obj_a hook\n"
                            "rope_anchor_b 500 750\nrope_approx_seg_len 100\n"
                            "rope_seg_thickness 8\nrope_color 0 0 1 1\n";
  expectColours(shot(scene),
                {{240, 260, kRed},   {160, 340, kGreen}, {153, 346, kGreen}, {246, 254, kRed},
                 {145, 300, kBlack}, {255, 300, kBlack}, {200, 245, kBlack}, {200, 355, kBlack},
                 {640, 340, kGreen}, {560, 260, kRed},   {690, 390, kGreen}, {300, 600, kRed},
                 {110, 458, kBlue},  {218, 542, kBlue},  {490, 742, kBlue},  {92, 444, kBlack},
                 {107, 440, kBlack}, {216, 546, kBlack}, {508, 756, kBlack}, {493, 760, kBlack}});
  EXPECT_EQ(last_.out,
            "Reading scene file 'scene.txt'..\nReading mesh file 'two.obj'..\n"
            "Reading material file 'two.mtl'..\nReading mesh file 'green.obj'..\n"
            "Reading material file 'green.mtl'..\nReading mesh file 'red.obj'..\n"
            "Reading material file 'red.mtl'..\n");
  EXPECT_EQ(last_.err, "");
  expectColours(shot("scene_draw_rope_after_objects 1\n" + scene),
                {{300, 600, kBlue}, {270, 570, kRed}});
}

TEST_F(Snapshot, ScaleAndBodyAnglePlaceVertices) {
  // A bar 100 x 10, green on its left half and red on its right, drawn and colliding at scale 2.
  writeFile("bar.mtl", "newmtl green\nKd 0 1 0\nnewmtl red\nKd 1 0 0\n");
  writeFile("bar.obj",
            "mtllib bar.mtl\nv -50 0 -5\nv 0 0 -5\nv 50 0 -5\nv 50 0 5\nv 0 0 5\n"
            "v -50 0 5\nusemtl green\nf 1 2 5\nf 1 5 6\nusemtl red\nf 2 3 4\nf 2 4 5\n");
  const Image image = shot("scene_mouse_impulse_force 0.0001\n" +
                               obj("pad", "blue", "200 600", "obj_scale 2\nobj_mass 0\n") +
                               obj("bar", "bar", "500 400", "obj_col_mesh bar.obj\nobj_scale 2\n"),
                           {"--move", "590,300", "--move", "590,400", "--ticks", "44"});
  expectColours(image,
                {{295, 600, kBlue}, {305, 600, kBlack}, {200, 505, kBlue}, {200, 495, kBlack}});
  // The second move pushes down at 90 right of the centre: j = (0, 100 force fps), against a
  // moment 0.5 mass 10^2 (nearest vertex (0, 5) times 2): about 0.79 radians clockwise in 44 ticks.
  const double j = 100 * (0.0001f * 60.0f), seconds = 44 / 60.0,
               angle = 90 * j / (0.5 * 10 * 10) * seconds;
  const auto at = [&](double along, double down, Pixel want) {  // down = -along: the other turn
    return Probe{500 + int(std::lround(along * std::cos(angle))),
                 int(std::lround(400 + j * seconds) + std::lround(down * std::sin(angle))), want};
  };
  expectColours(image, {at(30, 30, kRed), at(60, 60, kRed), at(90, 90, kRed), at(-30, -30, kGreen),
                        at(-60, -60, kGreen), at(-90, -90, kGreen), at(30, -30, kBlack),
                        at(60, -60, kBlack), at(90, -90, kBlack), at(110, 110, kBlack)});
}

double strokeX(const Image& image, int y) {  // centre of the red-channel mass along row y
  double sum = 0, weighted = 0;
  for (int x = 0; x < image.width; ++x) sum += image.at(x, y).r, weighted += image.at(x, y).r * x;
  return sum > 0 ? weighted / sum : -1.0;
}

TEST_F(Snapshot, ScrollerMovesLeftWithItsShadow) {
  // The text " l" (the keyword's blank belongs to it) is one stroke up from the baseline at
  // y 400, a font distance right of the text's left end X that doubles at scale 2: X = 2 p1 - p2
  // from the strokes' x.
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
                      {x + 20, 320, kBlue}});
  expectColours(two, {{int(std::lround(p2)) + 20, 420, kBlack, 40}});
}

TEST_F(Snapshot, GlowAddsEveryLevelTheRightWayUpWhereItFits) {
  // Over a world all grey every level is that grey: the picture is 77 times the sum of the
  // weights, 0.1 for the smallest level and 1.25 times that for each larger one (1.984).
  const std::string glow = "scene_glow_enabled 1\n";
  expectColours(shot(glow + "scene_glow_base 0.1\nscene_glow_mul 1.25\n" +
                     obj("all", "grey", "512 384", "obj_scale 20\nobj_mass 0\n")),
                {{200, 150, {153, 153, 153}, 6},
                 {824, 150, {153, 153, 153}, 6},
                 {512, 384, {153, 153, 153}, 6},
                 {200, 618, {153, 153, 153}, 6},
                 {824, 618, {153, 153, 153}, 6}});
  // One grey square in the upper right glows there, and spreads past its edge.
  const std::string corner = obj("a", "grey", "874 150");
  const Image lit = shot(glow + corner);
  EXPECT_TRUE(lit.at(874, 150).r > 150 && lit.at(874, 150).g > 150 && lit.at(814, 150).r > 10);
  EXPECT_TRUE(lit.at(150, 150).r < 10 && lit.at(874, 618).r < 10 && lit.at(150, 618).r < 10);
  // A window below 512 pixels has no room for the glow: the plain frame, the world stretched.
  const Image small = shot(glow + corner, {"--size", "400x300"});
  EXPECT_TRUE(small.width == 400 && small.height == 300);
  expectColours(small, {{341, 58, kGrey, 2}, {318, 58, kBlack}, {341, 82, kBlack}});
  EXPECT_EQ(small.rgb, shot(corner, {"--size", "400x300"}).rgb);
}

TEST_F(Snapshot, CommandLineAndOutputFailures) {
  const struct {
    std::vector<std::string> args;
    int status;
    bool display = true;
  } rows[] = {{{"--size", "10by10", "--out", "x.png"}, 2},
              {{"--ticks", "3"}, 2},
              {{"--out", "no-such-dir/x.png"}, 1},
              {{"--out", "x.png"}, 1, false}};
  for (auto [args, status, display] : rows) {
    args.insert(args.begin(), QUILLMOOR_SNAPSHOT);
    const RunResult result = run(args, display);
    EXPECT_EQ(result.status, status) << args.back();
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  }
  EXPECT_FALSE(std::filesystem::exists("x.png"));
}

}  // namespace
