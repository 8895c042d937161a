#include <sys/stat.h>

#include <climits>
#include <string>

#include "test_support.h"

namespace {

const std::string kReading = "Reading scene file 'scene.txt'..\n";
using SceneSettingsTest = ScratchDir;
// A row with an empty line checks another part of the field the row above sets.
#define ROW(line, member, want)                                           \
  {                                                                       \
    line, [](const SceneSettings& s) -> double { return s.member; }, want \
  }

TEST_F(SceneSettingsTest, EveryKeywordSetsItsFieldAndANewLoadResetsIt) {
  const struct {
    const char* line;
    double (*field)(const SceneSettings&);
    double want;
  } rows[] = {ROW("scene_fps 30", fps, 30),
              ROW("scene_step_iterations 4", step_iterations, 4),
              ROW("scene_solver_iterations 20", solver_iterations, 20),
              ROW("scene_gravity 1.5 -500", gravity.x, 1.5),
              ROW("", gravity.y, -500),
              ROW("scene_damping 0.5", damping, 0.5),
              ROW("scene_mouse_hide_in_fullscreen 0", mouse_hide_in_fullscreen, 0),
              ROW("scene_mouse_impulse_force 0.25", mouse_impulse_force, 0.25),
              ROW("scene_mouse_impulse_force_max 1000", mouse_impulse_force_max, 1000),
              ROW("scene_draw_rope_after_objects -1", draw_rope_after_objects, 1),
              ROW("scene_scroller_text_y 50", scroller_text_y, 50),
              ROW("scene_scroller_text_scale 2", scroller_text_scale, 2),
              ROW("scene_scroller_text_thickness 3", scroller_text_thickness, 3),
              ROW("scene_scroller_text_shadow_dist 4 -5", scroller_text_shadow_dist.x, 4),
              ROW("", scroller_text_shadow_dist.y, -5),
              ROW("scene_scroller_text_speed 9", scroller_text_speed, 9),
              ROW("scene_scroller_text_color 0.5 0.25 0 0.75", scroller_text_color.r, 0.5),
              ROW("", scroller_text_color.g, 0.25),
              ROW("", scroller_text_color.b, 0),
              ROW("", scroller_text_color.a, 0.75),
              ROW("scene_glow_enabled 2", glow_enabled, 1),
              ROW("scene_glow_base 0.5", glow_base, 0.5),
              ROW("scene_glow_mul 2", glow_mul, 2)};
  std::string text;
  for (const auto& r : rows) text += std::string(r.line) + "\n";
  for (const char* file : {text.c_str(), ""}) {  // the empty file must leave every row undone
    ASSERT_NE(load(file), nullptr);
    EXPECT_EQ(output_, kReading);
    for (size_t i = 0; i < std::size(rows); ++i) {
      const double got = rows[i].field(app_.scene->settings);
      EXPECT_EQ(got == rows[i].want, *file != '\0') << "row " << i << " reads " << got;
    }
  }
}

TEST_F(SceneSettingsTest, LinesTakeEffectOnlyWithEveryValueConverted) {
  std::string part = "scene_glow_mul 0.25 ";  // cut after 1023 characters; the rest is a line
  part.resize(1023, 'x');
  const Scene* scene = load(
      "scene_fps 30\nscene_fps 45 fast\nscene_fps abc\nscene_fps\nscene_gravity 0.1 4\n"
      "scene_gravity 7\nscene_scroller_text_color 0.5 0.5 0.5\nscene_step_iterations 7.9\n"
      "scene_solver_iterations -9999999999\nscene_solver_iterations x\nscene_damping\t0.5\n"
      " scene_glow_base 0.5\nscene_bogus 3\nscene_scroller_text x\nscene_scroller_text\n" +
      part + "scene_mouse_impulse_force 2");
  ASSERT_NE(scene, nullptr);
  EXPECT_EQ(output_, kReading);
  const SceneSettings& s = scene->settings;
  EXPECT_EQ(s.fps, 45.0f);
  EXPECT_EQ(s.gravity.x, static_cast<double>(0.1f));  // the float widened, not 0.1 as a double
  EXPECT_TRUE(s.gravity.y == 4.0 && s.scroller_text_color.r == 1.0f);
  EXPECT_TRUE(s.step_iterations == 7 && s.solver_iterations == INT_MIN);
  EXPECT_TRUE(s.damping == 1.0f && s.glow_base == 0.8f && s.scroller_text.empty());
  EXPECT_TRUE(s.glow_mul == 0.25f && s.mouse_impulse_force == 2.0f);
  // The scroller text is the rest of the line, blanks kept; near misses leave it alone.
  ASSERT_NE(scene = load("scene_scroller_text   two  50%s  \r\nscene_scroller_textHello\n"
                         "scene_scroller_text\tTab\nscene_scroller_text_y 5\n"),
            nullptr);
  EXPECT_EQ(scene->settings.scroller_text, "   two  50%s  ");
  EXPECT_EQ(app_.scroller.text, "   two  50%s  ");
  EXPECT_EQ(scene->settings.scroller_text_y, 5.0f);
}

TEST_F(SceneSettingsTest, MissingFileOrDirectory) {
  ASSERT_NE(load("scene_fps 30\n"), nullptr);
  EXPECT_EQ(loadFile("no such.txt"), nullptr);  // and not the previous scene
  EXPECT_EQ(output_, "Reading scene file 'no such.txt'..\nSCENE FILE NOT FOUND! ('no such.txt')\n");
  ASSERT_EQ(mkdir("level", 0755), 0);
  EXPECT_EQ(loadFile("level"), nullptr);
  EXPECT_EQ(output_, "Reading scene file 'level'..\nSCENE FILE NOT FOUND! ('level')\n");
}
}  // namespace
