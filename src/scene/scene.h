#pragma once
// A scene file as read: settings and declared items, each with the lines that set it. Nothing
// changes it once the reader returns it; the world is built from it and refers to it.
#include <chipmunk/chipmunk.h>

#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The fixed world view: x runs right from 0, y down from 0, whatever the window's size.
constexpr int kWorldWidth = 1024;
constexpr int kWorldHeight = 768;

struct Mesh;  // read and owned by world/; a scene only refers to it

struct Color4 {
  float r = 1.0f, g = 1.0f, b = 1.0f, a = 1.0f;
};

// Where an item was declared, and the last line that set each of its keywords.
struct Source {
  int line = 0;  // 0: the file as a whole (the settings)
  std::vector<std::pair<const char*, int>> set;

  void setAt(const char* keyword, int at) {
    for (auto& [k, l] : set)
      if (std::strcmp(k, keyword) == 0) return void(l = at);
    set.emplace_back(keyword, at);
  }
  // The line that last set `keyword`, else the declaration's ("" always gives the latter).
  int lineOf(const char* keyword) const {
    for (const auto& [k, l] : set)
      if (std::strcmp(k, keyword) == 0) return l;
    return line;
  }
  bool has(const char* keyword) const {
    for (const auto& entry : set)
      if (std::strcmp(entry.first, keyword) == 0) return true;
    return false;
  }
};

struct SceneSettings {
  float fps = 60.0f;
  int step_iterations = 1;
  int solver_iterations = 10;
  cpVect gravity = {0.0, 0.0};
  float damping = 1.0f;
  bool mouse_hide_in_fullscreen = true;
  float mouse_impulse_force = 0.1f;
  float mouse_impulse_force_max = 99999.0f;
  bool draw_rope_after_objects = false;
  std::string scroller_text;
  float scroller_text_y = 100.0f;
  float scroller_text_scale = 1.0f;
  float scroller_text_thickness = 2.0f;
  cpVect scroller_text_shadow_dist = {2.0, 2.0};
  float scroller_text_speed = 300.0f;
  Color4 scroller_text_color;
  bool glow_enabled = false;
  float glow_base = 0.8f;
  float glow_mul = 0.9f;
  Source source;
};

struct SceneCircle {
  cpVect center = {0.0, 0.0};
  float radius = 0.0f;
  int line = 0;
};

enum class MomentRule { Disc, Given, Auto };

struct SceneObject {
  std::string name;  // as declared (a generated one for new_obj without a name)
  size_t index = 0;  // in Scene::object_store
  const Mesh* mesh = nullptr;
  const Mesh* col_mesh = nullptr;
  cpVect pos = {0.0, 0.0};
  float scale = 1.0f;
  float mass = 1.0f;
  float bounciness = 0.0f;
  float friction = 0.0f;
  bool has_col_line = false;
  cpVect col_line_a = {0.0, 0.0};
  cpVect col_line_b = {0.0, 0.0};
  float col_line_radius = 0.0f;
  // Start state: degrees, world units per second, degrees per second.
  float angle = 0.0f;
  cpVect velocity = {0.0, 0.0};
  float spin = 0.0f;
  bool kinematic = false;
  std::vector<SceneCircle> circles;
  MomentRule moment_rule = MomentRule::Disc;
  float moment = 0.0f;  // for MomentRule::Given
  unsigned group = 0;   // 0: none; else one number per obj_group name, from 1
  int layer = 0;
  Source source;
};

// The library's joints. Pin and slide hold a missing first end as the second end's partner;
// the others keep each end where the scene puts it.
enum class JointKind {
  Pin,
  Slide,
  Pivot,
  Groove,
  Spring,
  RotarySpring,
  RotaryLimit,
  Ratchet,
  Gear,
  Motor,
};

struct SceneJoint {
  JointKind kind = JointKind::Pin;
  const SceneObject* obj_a = nullptr;
  const SceneObject* obj_b = nullptr;
  cpVect anchor_a = {0.0, 0.0};
  cpVect anchor_b = {0.0, 0.0};
  float slide_min = 0.0f;
  float slide_max = 0.0f;
  cpVect pivot = {0.0, 0.0};  // used when joint_pivot is set
  cpVect groove_a = {0.0, 0.0};
  cpVect groove_b = {0.0, 0.0};
  float rest_length = 0.0f;  // used when joint_rest_length is set
  float rest_angle = 0.0f;   // degrees; used when joint_rest_angle is set
  float stiffness = 0.0f;
  float damping = 0.0f;
  float angle_min = 0.0f, angle_max = 0.0f;  // degrees
  float phase = 0.0f;                        // degrees
  float ratchet = 90.0f;                     // degrees
  float ratio = 1.0f;
  float rate = 0.0f;  // degrees per second
  float max_force = INFINITY;
  float break_force = INFINITY;
  bool collide = true;
  Color4 color;
  bool coloured = false;  // joint_color given: drawn in the plain picture
  Source source;
};

struct SceneRope {
  const SceneObject* obj_a = nullptr;
  const SceneObject* obj_b = nullptr;
  cpVect anchor_a = {0.0, 0.0};
  cpVect anchor_b = {0.0, 0.0};
  float seg_mass = 0.1f;
  float approx_seg_len = 10.0f;
  float seg_thickness = 5.0f;
  Color4 color;
  Source source;
};

struct Scene {
  std::string path;  // the scene file as named
  // nullptr: the file could not be read. Shared with the worlds that draw them.
  std::map<std::string, std::shared_ptr<const Mesh>> meshes;
  // Registry by name; std::string orders its bytes as unsigned values.
  std::map<std::string, const SceneObject*> objects;
  // Every object declared, also those a duplicate name pushed out of the registry, since
  // joints and ropes may still refer to them.
  std::vector<std::unique_ptr<SceneObject>> object_store;
  std::vector<std::unique_ptr<SceneRope>> ropes;
  std::vector<std::unique_ptr<SceneJoint>> joints;
  SceneSettings settings;
  // Positions in `objects` (name order) in the order they are drawn: by layer, then by name.
  // Empty when every object is on layer 0.
  std::vector<size_t> draw_order;
  std::map<std::string, unsigned> groups;  // obj_group names and their numbers
  int unique_counter = 0;
  // Vertices and triangles of the meshes read, and whether a mesh went unread because of the
  // limit on them.
  size_t mesh_items = 0;
  bool meshes_cut = false;
};
