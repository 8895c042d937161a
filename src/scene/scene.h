#pragma once
// The records a scene file is read into.
#include <chipmunk/chipmunk.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// The fixed world view: x runs right from 0, y down from 0, whatever the window's size.
constexpr int kWorldWidth = 1024;
constexpr int kWorldHeight = 768;

struct Mesh;  // read and owned by world/; a scene only refers to it

struct Color4 {
  float r = 1.0f, g = 1.0f, b = 1.0f, a = 1.0f;
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
};

struct SceneObject {
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
  cpBody* body = nullptr;  // owned by the space; only moving objects have one
};

enum class JointKind { Pin, Slide };

struct SceneJoint {
  JointKind kind = JointKind::Pin;
  SceneObject* obj_a = nullptr;
  SceneObject* obj_b = nullptr;
  cpVect anchor_a = {0.0, 0.0};
  cpVect anchor_b = {0.0, 0.0};
  float slide_min = 0.0f;
  float slide_max = 0.0f;
};

struct SceneRope {
  SceneObject* obj_a = nullptr;
  SceneObject* obj_b = nullptr;
  cpVect anchor_a = {0.0, 0.0};
  cpVect anchor_b = {0.0, 0.0};
  float seg_mass = 0.1f;
  float approx_seg_len = 10.0f;
  float seg_len = 0.0f;
  float seg_thickness = 5.0f;
  Color4 color;
  std::vector<cpBody*> segments;  // owned by the space, from the first end to the second
};

struct Scene {
  // nullptr: the file could not be read. Shared so that this record needs no mesh definition.
  std::map<std::string, std::shared_ptr<const Mesh>> meshes;
  // Registry by name; std::string orders its bytes as unsigned values.
  std::map<std::string, SceneObject*> objects;
  // Every object declared, also those a duplicate name pushed out of the registry, since
  // joints and ropes may still refer to them.
  std::vector<std::unique_ptr<SceneObject>> object_store;
  std::vector<std::unique_ptr<SceneRope>> ropes;
  std::vector<std::unique_ptr<SceneJoint>> joints;  // declared; emptied once built
  // Made by the build phase and never added to the space; the static shapes of every static
  // object hang on it. The deleter comes with the body, from the physics side.
  std::unique_ptr<cpBody, void (*)(cpBody*)> static_body{nullptr, nullptr};
  SceneSettings settings;
  int unique_counter = 0;
  // Vertices and triangles of the meshes read so far, and whether a mesh went unread because
  // of the world's limit on them.
  size_t mesh_items = 0;
  bool meshes_cut = false;
};
