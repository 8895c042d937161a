// The scene reader alone: lines into records, and its messages in order. Meshes come from a
// stand-in lookup that prints where it is called.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <map>
#include <sstream>

#include "scene/scene_loader.h"
#include "test_support.h"

namespace {

// A distinct address per path, never dereferenced; "gone" has no mesh.
const Mesh* fakeMesh(Scene&, const std::string& path, Reporter&) {
  static std::map<std::string, char> marks;
  std::printf("<mesh %s>\n", path.c_str());
  return path == "gone" ? nullptr : reinterpret_cast<const Mesh*>(&marks[path]);
}

std::string output;
std::unique_ptr<Scene> read(const std::string& text, const char* path = "scene.txt") {
  writeFile("scene.txt", text);
  testing::internal::CaptureStdout();
  Reporter report;
  std::unique_ptr<Scene> scene = readScene(path, fakeMesh, report);
  output = testing::internal::GetCapturedStdout();
  return scene;
}

// Every value a scene holds, in a fixed order: counts and the last joint's kind, the settings,
// then each object, joint and rope.
template <typename... T>
void put(std::ostream& out, const T&... values) {
  ((out << ' ' << values), ...);
}
std::vector<std::string> valuesOf(const Scene& s) {
  const SceneSettings& t = s.settings;
  std::ostringstream out;
  put(out, s.object_store.size(), s.joints.size(), s.ropes.size(),
      s.joints.empty() ? -1 : static_cast<int>(s.joints.back()->kind), t.fps, t.step_iterations,
      t.solver_iterations, t.gravity.x, t.gravity.y, t.damping, t.mouse_hide_in_fullscreen,
      t.mouse_impulse_force, t.mouse_impulse_force_max, t.draw_rope_after_objects,
      t.scroller_text_y, t.scroller_text_scale, t.scroller_text_thickness,
      t.scroller_text_shadow_dist.x, t.scroller_text_shadow_dist.y, t.scroller_text_speed,
      t.scroller_text_color.r, t.scroller_text_color.g, t.scroller_text_color.b,
      t.scroller_text_color.a, t.glow_enabled, t.glow_base, t.glow_mul);
  for (const auto& o : s.object_store) {
    const SceneCircle last = o->circles.empty() ? SceneCircle{} : o->circles.back();
    put(out, !!o->mesh, !!o->col_mesh, o->has_col_line, o->col_line_a.x, o->col_line_a.y,
        o->col_line_b.x, o->col_line_b.y, o->col_line_radius, o->pos.x, o->pos.y, o->scale, o->mass,
        o->bounciness, o->friction, o->angle, o->velocity.x, o->velocity.y, o->spin, o->kinematic,
        o->circles.size(), last.center.x, last.center.y, last.radius,
        static_cast<int>(o->moment_rule), o->moment, o->group, o->layer);
  }
  for (const auto& j : s.joints)
    put(out, !!j->obj_a, !!j->obj_b, j->anchor_a.x, j->anchor_a.y, j->anchor_b.x, j->anchor_b.y,
        j->slide_min, j->slide_max, j->pivot.x, j->pivot.y, j->groove_a.x, j->groove_a.y,
        j->groove_b.x, j->groove_b.y, j->rest_length, j->rest_angle, j->stiffness, j->damping,
        j->angle_min, j->angle_max, j->phase, j->ratchet, j->ratio, j->rate, j->max_force,
        j->break_force, j->collide, j->color.r, j->color.g, j->color.b, j->color.a);
  for (const auto& r : s.ropes)
    put(out, !!r->obj_a, !!r->obj_b, r->anchor_a.x, r->anchor_a.y, r->anchor_b.x, r->anchor_b.y,
        r->approx_seg_len, r->seg_mass, r->seg_thickness, r->color.r, r->color.g, r->color.b,
        r->color.a);
  return words(out.str());
}

// The values `after` holds otherwise than `before`, in order; items `before` lacks are left out.
std::string changes(const Scene& before, const Scene& after) {
  const auto old = valuesOf(before), now = valuesOf(after);
  std::string out;
  for (size_t i = 0; i < std::min(old.size(), now.size()); ++i)
    if (old[i] != now[i]) out += now[i] + " ";
  return out;
}

TEST(Reader, EveryLineSetsItsValuesOnlyWithAllOfThem) {
  Scratch scratch;
  // Rows of a base, lines that set values, and the values they change.
  std::ifstream table(QUILLMOOR_SOURCE_DIR "/tests/data/scene/lines.txt");
  std::string base;
  std::vector<std::string> body;
  bool in_body = false;
  int rows = 0;
  for (std::string line; std::getline(table, line);) {
    if (line.empty() || line[0] == '#') continue;
    if (line != "---" && line.rfind("= ", 0) != 0) {
      (in_body ? body.emplace_back() : base) += line + "\n";
      continue;
    }
    if ((in_body = line == "---")) continue;
    const auto text = [&](size_t change, bool cut) {  // line `change` cut short or left out
      std::string out = base;
      for (size_t i = 0; i < body.size(); ++i)
        out += i != change ? body[i] : cut ? body[i].substr(0, body[i].rfind(' ') + 1) + "\n" : "";
      return out;
    };
    EXPECT_EQ(changes(*read(base), *read(text(-1, false))), line.substr(2) + " ") << text(-1, 0);
    for (size_t i = 0; i < body.size(); ++i) {
      const auto without = read(text(i, false));
      const std::string said = output;
      EXPECT_EQ(changes(*without, *read(text(i, true))), "") << body[i];
      EXPECT_EQ(output, said) << body[i];
    }
    base.clear(), body.clear(), ++rows;
  }
  EXPECT_GT(rows, 0);

  std::string part = "scene_glow_mul 0.25 ";  // cut after 1023 characters; the rest is a line
  part.resize(1023, 'x');
  const auto scene = read(
      "scene_fps 30\r\nscene_fps 45 fast\nscene_fps abc\nscene_gravity 0.1 4\n"
      "scene_step_iterations 99999999999\nscene_solver_iterations -9999999999\n"
      "scene_damping\t0.5\n scene_glow_base 0.5\nScene_glow_enabled 1\nscene_bogus 3\n"
      "scene_mouse_impulse_force 2\rscene_mouse_impulse_force 3\n" +
      part + "scene_scroller_text_speed 7\nscene_scroller_text   two  50%s  " + '\0' +
      "x\r\nscene_scroller_textHello\nscene_scroller_text\tTab\n");
  EXPECT_EQ(output, "Reading scene file 'scene.txt'..\n");
  EXPECT_EQ(changes(*read(""), *scene), "45 2147483647 -2147483648 0.1 4 2 7 0.25 ");
  EXPECT_EQ(scene->settings.gravity.x, static_cast<double>(0.1f));  // the float widened
  // The scroller text is the rest of the line up to a NUL, blanks kept; near misses do nothing.
  EXPECT_EQ(scene->settings.scroller_text, "   two  50%s  ");
  EXPECT_EQ(read("scene_scroller_text\n")->settings.scroller_text, "");
}

// The messages of this scene, in order, are a checker golden.
TEST(Reader, ItemsTheirNamesAndReferences) {
  Scratch scratch;
  const auto scene =
      read(readFile(QUILLMOOR_SOURCE_DIR "/tests/check/reader-messages-and-names/scene.txt"));
  // Generated names count from 1 with every read; names sort as unsigned bytes.
  std::string names;
  for (const auto& entry : scene->objects) names += entry.first + " ";
  EXPECT_EQ(names, "@@@UNIQUE1 @@@UNIQUE2 @@@UNIQUE3 B a ab box later \xc3\xa9 ");
  // The later box takes the name; references made before keep the first one.
  const SceneObject *first = scene->object_store.at(0).get(), *box = scene->objects.at("box");
  EXPECT_NE(first->mesh, nullptr);
  EXPECT_EQ(first->col_mesh, nullptr);
  EXPECT_EQ(box->pos.x, 7.0);
  EXPECT_EQ(first->pos.x, 0.0);
  EXPECT_EQ(scene->ropes.at(0)->obj_a, first);
  EXPECT_EQ(scene->ropes[0]->obj_b, nullptr);
  EXPECT_EQ(scene->joints.at(0)->obj_a, box);
}

}  // namespace
