// The snapshot tool on a real display: the pixels of the pictures it writes, with and without
// --debug.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <regex>

#include "process.h"

namespace {

const Pixel kBlack{0, 0, 0}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255},
    kGrey{77, 77, 77};
struct Probe {
  int x, y;
  Pixel want;
  int tolerance = 8;  // on each channel
};
// Probes written "x,y" and a colour letter: k black, r red, g green, b blue, G grey.
std::vector<Probe> probes(const std::string& text) {
  std::vector<Probe> out;
  for (const std::string& w : words(text)) {
    const Pixel colours[] = {kBlack, kRed, kGreen, kBlue, kGrey};
    const Pixel want = colours[std::string("krgbG").find(w.back())];
    out.push_back({std::stoi(w), std::stoi(w.substr(w.find(',') + 1)), want});
  }
  return out;
}

// An object with this mesh at this position, static unless `more` says otherwise.
std::string obj(std::string name, std::string mesh, std::string pos, std::string more = "") {
  return "new_obj " + name + "\nobj_mesh " + mesh + ".obj\nobj_pos " + pos + "\n" +
         (more.empty() ? "obj_mass 0\n" : more);
}

class Snapshot : public testing::Test {
 protected:
  void SetUp() override { copyPaints(); }
  // The scene's picture after the actions, checked at the probes.
  Image shot(const std::string& scene, const std::string& actions = "",
             const std::vector<Probe>& probes = {}) {
    writeFile("scene.txt", scene);
    last_ = run(QUILLMOOR_SNAPSHOT " " + actions + " --out out.png");
    EXPECT_EQ(last_.status, 0) << last_.err;
    const Image image("out.png");
    last_png_ = readFile("out.png");
    std::remove("out.png");
    expect(image, probes);
    return image;
  }
  void expect(const Image& image, const std::vector<Probe>& probes) {
    for (const auto& [x, y, want, tolerance] : probes) {
      const Pixel p = image.at(x, y);
      EXPECT_LE(std::max({std::abs(p.r - want.r), std::abs(p.g - want.g), std::abs(p.b - want.b)}),
                tolerance)
          << "(" << x << ", " << y << ") is " << p.r << "," << p.g << "," << p.b;
    }
  }
  Scratch scratch_;
  RunResult last_;
  std::string last_png_;  // the bytes of the last picture
};

TEST_F(Snapshot, ObjectsRopesAndBodiesWhereTheSceneSays) {
  // two.obj: upper-right half red, lower-left half green; bar.obj 100 x 10, here at scale 2.
  // apple, drawn after Zed, covers it; a blue rope, 8 thick in 6 segments, runs from a moving
  // object without mesh or shape at (100, 450) to the world point (500, 750) across a block.
  const std::string scene =
      "scene_mouse_impulse_force 0.0001\n" + obj("two", "two", "200 300") +
      obj("apple", "green", "650 350") + obj("Zed", "red", "600 300") +
      obj("block", "red", "300 600") + obj("bar", "bar", "800 550", "obj_col_mesh bar.obj\n") +
      "obj_scale 2\nnew_obj hook\nobj_pos 100 450\nnew_rope\nrope_obj_a hook\n"
      "rope_anchor_b 500 750\nrope_approx_seg_len 100\nrope_seg_thickness 8\nrope_color 0 0 1 1\n";
  // The second move pushes the bar down 90 right of its centre: j = (0, 100 force fps) against
  // a moment 0.5 mass 10^2 (nearest vertex (0, 5) times 2), about 0.79 radians in 44 ticks.
  const double j = 100 * (0.0001f * 60.0f), seconds = 44 / 60.0,
               angle = 90 * j / (0.5 * 10 * 10) * seconds;
  const auto bar = [&](double along, double down, Pixel want) {  // down = -along: the other turn
    return Probe{800 + int(std::lround(along * std::cos(angle))),
                 int(std::lround(550 + j * seconds) + std::lround(down * std::sin(angle))), want};
  };
  std::vector<Probe> want = probes(
      "240,260r 160,340g 153,346g 246,254r 145,300k 255,300k 200,245k 200,355k 640,340g 560,260r "
      "690,390g 300,600r 110,458b 218,542b 490,742b 92,455k 116,440k 216,546k 512,747k 484,760k");
  for (int d : {30, 90, -30, -90}) want.push_back(bar(d, d, d > 0 ? kRed : kGreen));
  for (int d : {60, -60}) want.push_back(bar(d, -d, kBlack));
  want.push_back(bar(110, 110, kBlack));
  shot(scene, "--move 890,450 --move 890,550 --ticks 44", want);
  EXPECT_EQ(last_.err, "");
  const Image after =
      shot("scene_draw_rope_after_objects 1\n" + scene, "", probes("300,600b 270,570r"));
  int blended = 0;  // drawn after the objects, the rope's smooth edges still blend
  for (int y = 650; y < 700; ++y) blended += after.at(400, y).b > 20 && after.at(400, y).b < 235;
  EXPECT_GT(blended, 0);
  // A rope falling from the horizontal is drawn where it hangs now, and not also where it was.
  shot(
      "scene_gravity 0 500\nnew_obj w\nobj_pos 812 100\nnew_rope\nrope_obj_a w\n"
      "rope_anchor_b 512 100\nrope_seg_thickness 8\nrope_color 0 0 1 1\n",
      "--ticks 30", probes("700,100k 700,160b"));
}

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

double strokeX(const Image& image, int y) {  // centre of the red-channel mass along row y
  double sum = 0, weighted = 0;
  for (int x = 0; x < image.width; ++x) sum += image.at(x, y).r, weighted += image.at(x, y).r * x;
  return sum > 0 ? weighted / sum : -1.0;
}

TEST_F(Snapshot, ScrollerMovesLeftWithItsShadow) {
  // The text " l" (the keyword's blank belongs to it) is one stroke up from the baseline at
  // y 400, a font distance right of the text's left end X that doubles at scale 2: X = 2 p1 - p2.
  const std::string scene =
      "scene_fps 50\nscene_scroller_text_speed 400\nscene_scroller_text_y 400\n"
      "scene_scroller_text_shadow_dist 20 30\nscene_scroller_text_thickness 8\n"
      "scene_scroller_text l\n" +
      obj("back", "blue", "512 384", "obj_scale 7\nobj_mass 0\n");
  const Image one = shot(scene, "--ticks 60");
  const double p1 = strokeX(one, 370),
               p2 = strokeX(shot(scene + "scene_scroller_text_scale 2\n", "--ticks 60"), 370);
  EXPECT_NEAR(2 * p1 - p2, 1024 - 60 * 400 / 50.0, 1.5) << p1 << " " << p2;
  // Twice as wide, it goes twice as far past the left edge before it starts again at the right:
  // after 150 ticks its stroke still shows near the left edge.
  EXPECT_GT(strokeX(shot(scene + "scene_scroller_text_scale 2\n", "--ticks 150"), 370), 0);
  // The stroke is 8 wide. The black shadow is 20 right and 30 down, unscaled: below the
  // baseline only it shows.
  const int x = int(std::lround(p1));
  expect(one, {{x - 3, 370, {255, 255, 255}, 60},
               {x + 3, 370, {255, 255, 255}, 60},
               {x + 20, 370, kBlack, 40},
               {x + 20, 420, kBlack, 40},
               {x, 420, kBlue},
               {x + 20, 320, kBlue}});
}

TEST_F(Snapshot, GlowAddsEveryLevelTheRightWayUpWhereItFits) {
  // Over a world all grey every level is that grey: the picture is 77 times the sum of the
  // weights, 0.1 for the smallest level and 1.25 times that for each larger one (1.984).
  const std::string glow = "scene_glow_enabled 1\n",
                    all = obj("all", "grey", "512 384", "obj_scale 20\nobj_mass 0\n");
  std::vector<Probe> lit = probes("200,150k 824,150k 512,384k 200,618k 824,618k");
  for (Probe& p : lit) p.want = {153, 153, 153}, p.tolerance = 6;
  shot(glow + "scene_glow_base 0.1\nscene_glow_mul 1.25\n" + all, "", lit);
  // One grey square in the upper right glows there, and spreads past its edge.
  // (A red scroller colour, with no text, tints nothing: the levels are drawn in white.)
  const std::string corner = obj("a", "grey", "874 150");
  const Image image = shot(glow + "scene_scroller_text_color 1 0 0 1\n" + corner, "",
                           probes("150,150k 874,618k 150,618k"));
  EXPECT_GT(image.at(874, 150).r, 150);
  EXPECT_GT(image.at(874, 150).g, 150);
  EXPECT_GT(image.at(814, 150).r, 10);
  // Around a square in the middle the glow spreads evenly: no level is shifted.
  const Image middle = shot(glow + obj("m", "grey", "512 384"));
  for (auto [x1, y1, x2, y2] : {std::array{512, 320, 512, 448}, {448, 384, 576, 384}}) {
    EXPECT_GT(middle.at(x1, y1).r, 20) << x1 << "," << y1;
    EXPECT_NEAR(middle.at(x1, y1).r, middle.at(x2, y2).r, 3) << x1 << "," << y1;
  }
  // A window under 512 pixels wide has no room for the glow: the plain frame, the world stretched.
  const Image small = shot(glow + corner, "--size 400x600",
                           {{341, 117, kGrey, 2}, {318, 117, kBlack}, {341, 160, kBlack}});
  EXPECT_EQ(small.width, 400);
  EXPECT_EQ(small.height, 600);
  EXPECT_EQ(small.rgb, shot(corner, "--size 400x600").rgb);
  EXPECT_NE(shot(glow + corner, "--size 512x512").rgb, shot(corner, "--size 512x512").rgb);
}

TEST_F(Snapshot, DebugDrawsShapesAndJointsOverTheUnchangedPicture) {
  const std::string scene =
      "new_obj box\nobj_mesh red.obj\nobj_col_mesh red.obj\nobj_pos 700 400\n"
      "new_joint_slide\njoint_obj_a box\njoint_anchor_b 700 200\njoint_slide_max 300\n"
      "new_joint_pin\njoint_obj_a box\njoint_anchor_b 300 400\n"
      "new_obj floor\nobj_mass 0\nobj_col_line 100 600 900 600 0\n";
  const Image plain = shot(scene, "--ticks 2"), debug = shot(scene, "--ticks 2 --debug");
  std::vector<int> unlit;  // columns the pin joint's yellow line misses
  for (int x = 320; x < 640; ++x) {
    const Pixel p = brightest(plain, x, 400, true), d = brightest(debug, x, 400, true);
    EXPECT_EQ(p.r + p.g + p.b, 0) << x;  // nothing there without --debug
    if (d.r <= 150 || d.g <= 150 || d.b >= 80) unlit.push_back(x);
  }
  EXPECT_EQ(unlit, std::vector<int>{});  // solid, though drawn after a dashed slide joint
  int magenta = 0, gaps = 0;             // the slide joint up from the box, dashed
  for (int y = 210; y < 340; ++y) {
    const Pixel d = brightest(debug, 700, y, false);
    magenta += d.r > 150 && d.b > 150 && d.g < 100;
    gaps += d.r + d.g + d.b < 60;
  }
  EXPECT_GT(magenta, 30);
  EXPECT_GT(gaps, 30);
  EXPECT_GT(debug.at(698, 199).b, 150);  // its world anchor's dot, wider than the line
  // The static floor line in blue, the moving box's outline (just left of the box) in green.
  const Pixel floor = brightest(debug, 500, 600, true), edge = brightest(debug, 647, 420, false);
  EXPECT_GT(floor.b, 150);
  EXPECT_LT(floor.r, 100);
  EXPECT_GT(edge.g, 150);
  EXPECT_LT(edge.r, 100);
  // Away from the outlines (the box's two triangles at 650..750 x 350..450, the joints' row and
  // column, the floor's) the picture is the plain one, inside the box too.
  int stray = 0;
  for (size_t i = 0; i < plain.rgb.size(); ++i) {
    const int x = int(i / 3 % plain.width), y = int(i / 3 / plain.width),
              ring = std::max(std::abs(x - 700), std::abs(y - 400));
    const bool outline = std::abs(ring - 50) <= 5 || (ring < 50 && std::abs(x - y - 300) <= 3) ||
                         std::abs(y - 400) <= 4 || std::abs(y - 600) <= 3 ||
                         (std::abs(x - 700) <= 4 && y >= 195 && y < 400);
    stray += !outline && plain.rgb[i] != debug.rgb[i];
  }
  EXPECT_EQ(stray, 0);
}

TEST_F(Snapshot, DebugDrawsCirclesAndEachJointKindWhereItActs) {
  // Bodies without meshes (a black plain picture), each joint on one, at rest for two ticks.
  const auto on = [](std::string kind, std::string name, std::string pos, std::string more = "") {
    return "new_obj " + name + "\nobj_pos " + pos + "\nnew_joint_" + kind + "\njoint_obj_b " +
           name + "\n" + more;
  };
  const std::string scene =
      "new_obj c\nobj_pos 200 200\nobj_col_circle 0 0 40\nnew_joint_pivot\njoint_obj_b c\n"
      "joint_pivot 200 200\nnew_obj g\nobj_pos 200 600\nnew_obj w\nobj_pos 800 500\nnew_rope\n"
      "rope_obj_a w\nrope_anchor_b 1000 500\n" +
      on("groove", "s", "500 100", "joint_groove_a 400 100\njoint_groove_b 600 100\n") +
      on("spring", "z", "700 300", "joint_anchor_a 700 100\njoint_stiffness 9\n") +
      on("rotary_spring", "r", "200 400", "joint_stiffness 9\n") +
      on("rotary_limit", "l", "400 400", "joint_angle_min -45\njoint_angle_max 45\n") +
      on("ratchet", "t", "600 400") + on("gear", "h", "350 600", "joint_obj_a g\n") +
      on("motor", "m", "600 600", "joint_rate 90\n");
  const Image plain = shot(scene, "--ticks 2"), debug = shot(scene, "--ticks 2 --debug");
  const Pixel green{51, 255, 77}, cyan{25, 255, 255}, red{255, 51, 51}, white{255, 255, 255};
  // At least `least` pixels of the hue (none for 0) in each box: the circle's outline and its
  // radius at angle 0, the pivot's ring, the groove, the spring, the coil, the limits' arc on
  // the right only, the ratchet, each gear and their link, the motor's arc; no rings on the
  // rope's own pivots.
  const struct {
    int x0, y0, x1, y1;
    Pixel hue;
    int least;
  } boxes[] = {{157, 190, 163, 210, green, 5}, {222, 199, 236, 201, green, 5},
               {196, 192, 204, 195, cyan, 3},  {420, 96, 460, 104, cyan, 20},
               {692, 150, 708, 250, red, 30},  {188, 388, 212, 412, red, 20},
               {411, 386, 418, 393, white, 3}, {375, 385, 390, 415, white, 0},
               {590, 372, 610, 386, white, 5}, {195, 577, 205, 585, white, 3},
               {345, 577, 355, 585, white, 3}, {240, 599, 310, 601, white, 20},
               {578, 595, 586, 605, white, 3}, {820, 490, 980, 510, cyan, 0}};
  for (const auto& [x0, y0, x1, y1, hue, least] : boxes) {
    int seen[2] = {0, 0};  // plain, debug; a smoothed edge dims a hue
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x)
        for (int i : {0, 1}) {
          const Pixel p = (i ? debug : plain).at(x, y);
          const int top = std::max({p.r, p.g, p.b, 1});
          seen[i] += top > 120 && std::abs(p.r * 255 / top - hue.r) <= 60 &&
                     std::abs(p.g * 255 / top - hue.g) <= 60 &&
                     std::abs(p.b * 255 / top - hue.b) <= 60;
        }
    EXPECT_EQ(seen[0], 0) << x0 << "," << y0;
    EXPECT_TRUE(least ? seen[1] >= least : seen[1] == 0) << x0 << "," << y0 << ": " << seen[1];
  }
}

TEST_F(Snapshot, LayersTurnedStaticObjectsAndColouredJoints) {
  // Two squares 100 wide on one spot: by name, zed is drawn last and wins; a lower layer puts it
  // below apple. The bar (100 x 10, green left, red right) is static and turned a quarter turn
  // clockwise: red below its centre. A pin joint in blue from a shapeless weight to the world.
  const std::string scene =
      obj("apple", "green", "200 200") + obj("zed", "red", "200 200") +
      obj("bar", "bar", "500 300") + "obj_angle 90\nnew_obj weight\nobj_pos 700 600\n" +
      "new_joint_pin\njoint_obj_a weight\njoint_anchor_b 900 600\njoint_color 0 0 1 1\n";
  shot(scene, "", probes("200,200r 500,330r 500,270g 530,300k 800,600b"));
  shot(scene + obj("zed", "red", "200 200") + "obj_layer -1\n", "", probes("200,200g"));
}

// A number of one object in a state file.
double stateValue(const std::string& json, const std::string& name, const std::string& key) {
  const std::regex pattern("\"name\": \"" + name + "\"[^}]*\"" + key + "\": ([-0-9.e+]+)");
  std::smatch found;
  EXPECT_TRUE(std::regex_search(json, found, pattern)) << name << " " << key << "\n" << json;
  return found.empty() ? NAN : std::stod(found[1]);
}

TEST_F(Snapshot, TheStateFileSaysWhereThePictureShowsTheObjects) {
  // A square thrown right at 120 units a second in zero gravity, a quarter of a second; a
  // stretched spring that breaks at any force.
  const Image picture = shot(
      obj("box", "red", "300 400", "obj_velocity 120 0\nobj_spin 30\n") +
          obj("post", "green", "800 400") +
          "new_obj bob\nobj_pos 600 650\nnew_joint_spring\njoint_obj_a bob\n"
          "joint_anchor_b 600 500\njoint_rest_length 10\njoint_stiffness 5\njoint_break_force 0\n",
      "--ticks 15 --state state.json");
  const std::string json = readFile("state.json");
  EXPECT_NE(json.find("{\"tick\": 15, \"objects\": ["), std::string::npos) << json;
  EXPECT_NEAR(stateValue(json, "box", "x"), 300 + 120 * 15 / 60.0, 1e-9);
  EXPECT_NEAR(stateValue(json, "box", "angle"), 30 * 15 / 60.0, 1e-9);
  EXPECT_EQ(stateValue(json, "post", "x"), 800);
  EXPECT_NE(json.find("\"kind\": \"spring\", \"broken\": true"), std::string::npos) << json;
  // The square's left edge, 50 left of its centre, is where the state puts the centre.
  const int left = static_cast<int>(std::lround(stateValue(json, "box", "x") - 50));
  expect(picture, {{left + 3, 400, kRed}, {left - 3, 400, kBlack}});
}

TEST_F(Snapshot, WorkbenchKeysPauseStepAndSlowTheTicksOnlyWhenInteractive) {
  writeFile("scene.txt",
            "scene_gravity 0 500\nnew_obj ball\nobj_pos 500 100\nobj_col_circle 0 0 20\n"
            "obj_velocity 90 0\nobj_spin 40\n");
  const auto state = [](const std::string& actions) {
    const RunResult result = run(QUILLMOOR_SNAPSHOT " --out out.png --state s.json " + actions);
    EXPECT_EQ(result.status, 0) << result.err;
    return readFile("s.json");
  };
  const std::string twelve = state("--ticks 12");
  EXPECT_EQ(state("--interactive --key [ --key [ --ticks 48"), twelve);  // a quarter speed
  EXPECT_EQ(state("--interactive --overlap --key [ --ticks 24"), twelve);  // beside the frame
  EXPECT_EQ(state("--interactive --key space --ticks 9 --key . --key . --ticks 3 --key space "
                  "--ticks 10"),
            twelve);
  EXPECT_EQ(state("--key space --key [ --key . --ticks 12"), twelve);  // keys do nothing
}

TEST_F(Snapshot, GrabCarriesABoxThatAWallStopsAndLetsGoAtTheCursorsSpeed) {
  // A 100-wide box of mass 2 resting on a floor at y 700; a wall at x 800. Each run ends in its
  // state file.
  writeFile("scene.txt", obj("floor", "grey", "512 1200", "obj_mass 0\nobj_scale 10\n") +
                             "obj_col_line -512 -500 512 -500 1\nobj_friction 1\n" +
                             obj("box", "red", "400 650", "obj_col_mesh red.obj\nobj_mass 2\n") +
                             "obj_friction 1\nnew_obj wall\nobj_mass 0\n"
                             "obj_col_line 800 0 800 700 15\nscene_gravity 0 500\n");
  const auto box = [](const std::string& actions, const char* key) {
    const RunResult run_ = run(QUILLMOOR_SNAPSHOT " --interactive --out out.png --state s.json "
                               "--ticks 10 " + actions);
    EXPECT_EQ(run_.status, 0) << run_.err;
    return stateValue(readFile("s.json"), "box", key);
  };
  const std::string lift = "--press 400,640 --drag 400,440 --ticks 40 ";
  EXPECT_NEAR(box(lift, "y"), 450, 5);  // lifted with the cursor, 10 under the grip
  EXPECT_LT(box(lift + "--drag 1000,440 --ticks 60", "x"), 800 - 50 - 15 + 1);  // at the wall
  EXPECT_EQ(box(lift + "--drag 430,440 --ticks 1 --release", "vx"), 30 * 60.0);
  EXPECT_GT(box(lift + "--release --ticks 20", "y"), 470);  // falls once let go
  // Zoomed in twice about the box and panned: it is drawn 300 right of and 50 above where it
  // was, twice the size, and grabbed there; a drag of 200 pixels lifts it 100.
  EXPECT_NEAR(box("--wheel 400,650,2 --pan 300,-50 --press 700,590 --drag 700,390 --ticks 40",
                  "y"),
              650 - 100, 5);
  // A push there too: from 20 left of the box to 10 inside it, 30 world units in a tick.
  EXPECT_NEAR(box("--wheel 400,650,2 --pan 300,-50 --move 560,560 --move 620,560", "vx"),
              30 * 0.1 * 60 / 2, 1);
  // Without --interactive the buttons and keys do nothing.
  const auto picture = [](const std::string& args) {
    EXPECT_EQ(run(QUILLMOOR_SNAPSHOT " --out out.png " + args).status, 0);
    return readFile("out.png");
  };
  const std::string plain = picture("--ticks 20");
  EXPECT_EQ(picture("--ticks 10 --key space --key [ --key i --key h --key d --key 0 "
                    "--press 400,640 --drag 400,440 --wheel 400,650,3 --pan 50,50 --ticks 10"),
            plain);
  EXPECT_NE(picture("--interactive --ticks 10 --key i --key h --key space --ticks 10"), plain);
  // 0 brings back the fixed view: the plain picture again.
  EXPECT_EQ(picture("--interactive --ticks 10 --wheel 400,650,3 --pan 50,50 --key 0 --ticks 10"),
            plain);
}

TEST_F(Snapshot, WorkbenchPanelsAppearInTheirCornersAndDTogglesTheDebugView) {
  writeFile("scene.txt", obj("box", "red", "500 400"));
  // Pixels of the panels' text colour in a corner's box of the picture.
  const auto text = [](const Image& image, int x0, int y0) {
    int count = 0;
    for (int y = y0; y < y0 + 60; ++y)
      for (int x = x0; x < x0 + 200; ++x)
        count += image.at(x, y).r > 200 && image.at(x, y).b > 150 && image.at(x, y).b < 240;
    return count;
  };
  for (const char* keys : {"", "--key i", "--key h", "--key space", "--key i --key h --key ["}) {
    const Image image = shot(obj("box", "red", "500 400"), std::string("--interactive ") + keys);
    const std::string k = keys;
    EXPECT_EQ(text(image, 8, 8) > 20, k.find('i') != std::string::npos) << k;      // inspector
    EXPECT_EQ(text(image, 816, 8) > 20, k.find('h') != std::string::npos) << k;    // key list
    EXPECT_EQ(text(image, 8, 700) > 20, k.find("space") != std::string::npos ||    // status
                                            k.find('[') != std::string::npos) << k;
  }
  const auto bytes = [&](const std::string& args) {
    shot(obj("box", "red", "500 400", "obj_col_mesh red.obj\n"), args);
    return last_png_;
  };
  EXPECT_EQ(bytes("--interactive --key d --ticks 3"), bytes("--interactive --debug --ticks 3"));
}

}  // namespace
