#include "scene/scene_loader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "scene/line_check.h"
#include "scene/line_reader.h"

namespace {

// A joint or rope line naming an object not (yet) registered; reported again at the end when
// the name was declared further down.
struct PendingReference {
  std::string name;
  size_t warning;  // index of its warning among the diagnostics
};

struct LoadState {
  Scene& scene;
  MeshLookup getMesh;
  Reporter& report;
  int line = 0;  // of the scene file, from 1
  SceneObject* active_object = nullptr;
  SceneJoint* active_joint = nullptr;
  SceneRope* active_rope = nullptr;
  std::vector<PendingReference> pending;

  SceneSettings& settings() { return scene.settings; }
  SceneObject& object() { return *active_object; }
  SceneJoint& joint() { return *active_joint; }
  SceneRope& rope() { return *active_rope; }
  Place at(const Source& source) const { return {scene.path, source.line}; }
};

// What the values after a keyword are.
enum class Value {
  None,    // nothing to convert
  Text,    // the rest of the line, its leading blank included
  Number,  // floats, as formatted input reads "%f"
  Whole,   // an integer, as " %d" reads it but saturating
  Name,    // an object's name: one word
  Path,    // a file path: one word
  Moment,  // a number, or the word "auto"
};

// The values read from one recognised line.
struct Values {
  const char* rest = nullptr;  // everything after the keyword
  float f[5] = {0, 0, 0, 0, 0};
  int i = 0;  // Value::Whole; for Value::Moment, 1 for "auto"
  std::string word;
};

// The item a keyword changes, or declares.
enum class Target { Setting, Object, Joint, Rope };

struct KeywordRow {
  const char* keyword;
  Match match;
  Target target;
  Value value;
  int needed;  // values the line must have to take effect
  void (*apply)(LoadState&, const Values&);
  bool declares = false;  // new_*: makes a new active item of its target
  int optional = 0;       // numbers that may follow the needed ones
};

cpVect vec(float x, float y) { return cpv(x, y); }

// Each group name gets the next number, from 1 (0 is the library's "no group").
unsigned groupNumber(Scene& scene, const std::string& name) {
  const auto added = scene.groups.emplace(name, static_cast<unsigned>(scene.groups.size() + 1));
  return added.first->second;
}

// Positions in name order, by layer; std::stable_sort keeps name order within a layer.
void orderDrawing(Scene& scene) {
  std::vector<const SceneObject*> by_name;
  bool layered = false;
  for (const auto& [name, object] : scene.objects) {
    by_name.push_back(object);
    layered = layered || object->layer != 0;
  }
  if (!layered) return;
  scene.draw_order.resize(by_name.size());
  for (size_t i = 0; i < by_name.size(); ++i) scene.draw_order[i] = i;
  std::stable_sort(scene.draw_order.begin(), scene.draw_order.end(),
                   [&](size_t a, size_t b) { return by_name[a]->layer < by_name[b]->layer; });
}

void declareObject(LoadState& s, const Values& v) {
  std::string name = v.word;
  if (name.empty()) {
    char generated[32];
    std::snprintf(generated, sizeof generated, "@@@UNIQUE%d", ++s.scene.unique_counter);
    name = generated;
  }
  auto previous = s.scene.objects.find(name);
  if (previous != s.scene.objects.end()) {
    problem(s.report, "Scene has a duplicate object: '" + name + "'",
            ": the earlier one is never built and stays invisible");
    noteAt(s.report, s.at(previous->second->source), "first declared here");
  }
  auto object = std::make_unique<SceneObject>();
  object->name = name;
  object->index = s.scene.object_store.size();
  object->source.line = s.line;
  s.active_object = object.get();
  s.scene.objects[name] = object.get();
  s.scene.object_store.push_back(std::move(object));
}

template <JointKind kind>
void declareJoint(LoadState& s, const Values&) {
  s.scene.joints.push_back(std::make_unique<SceneJoint>());
  s.active_joint = s.scene.joints.back().get();
  s.active_joint->kind = kind;
  s.active_joint->source.line = s.line;
}

// Resolves a joint or rope reference; reports the kind's message when the name is unknown.
void resolve(LoadState& s, const Values& v, const SceneObject*& field, const char* who) {
  auto found = s.scene.objects.find(v.word);
  if (found == s.scene.objects.end()) {
    if (s.report.collect) s.pending.push_back({v.word, s.report.diagnostics.size()});
    problem(s.report,
            std::string(who) + " tried to use an object not yet created: '" + v.word + "'");
    return;
  }
  field = found->second;
}

// Tested in this order; no line can match two rows.
const KeywordRow kKeywords[] = {
    {"scene_fps", Match::Prefix, Target::Setting, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.settings().fps = v.f[0]; }},
    {"scene_step_iterations", Match::Prefix, Target::Setting, Value::Whole, 1,
     [](LoadState& s, const Values& v) { s.settings().step_iterations = v.i; }},
    {"scene_solver_iterations", Match::Prefix, Target::Setting, Value::Whole, 1,
     [](LoadState& s, const Values& v) { s.settings().solver_iterations = v.i; }},
    {"scene_gravity", Match::Prefix, Target::Setting, Value::Number, 2,
     [](LoadState& s, const Values& v) { s.settings().gravity = vec(v.f[0], v.f[1]); }},
    {"scene_damping", Match::Prefix, Target::Setting, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.settings().damping = v.f[0]; }},
    {"scene_mouse_hide_in_fullscreen", Match::Prefix, Target::Setting, Value::Whole, 1,
     [](LoadState& s, const Values& v) { s.settings().mouse_hide_in_fullscreen = v.i != 0; }},
    {"scene_mouse_impulse_force", Match::Prefix, Target::Setting, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.settings().mouse_impulse_force = v.f[0]; }},
    {"scene_mouse_impulse_force_max", Match::Prefix, Target::Setting, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.settings().mouse_impulse_force_max = v.f[0]; }},
    {"scene_draw_rope_after_objects", Match::Prefix, Target::Setting, Value::Whole, 1,
     [](LoadState& s, const Values& v) { s.settings().draw_rope_after_objects = v.i != 0; }},
    // Not parsed: the text is the rest of the line, its leading blank included.
    {"scene_scroller_text", Match::Either, Target::Setting, Value::Text, 0,
     [](LoadState& s, const Values& v) { s.settings().scroller_text = v.rest; }},
    {"scene_scroller_text_y", Match::Prefix, Target::Setting, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.settings().scroller_text_y = v.f[0]; }},
    {"scene_scroller_text_scale", Match::Prefix, Target::Setting, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.settings().scroller_text_scale = v.f[0]; }},
    {"scene_scroller_text_thickness", Match::Prefix, Target::Setting, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.settings().scroller_text_thickness = v.f[0]; }},
    {"scene_scroller_text_shadow_dist", Match::Prefix, Target::Setting, Value::Number, 2,
     [](LoadState& s, const Values& v) {
       s.settings().scroller_text_shadow_dist = vec(v.f[0], v.f[1]);
     }},
    {"scene_scroller_text_speed", Match::Prefix, Target::Setting, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.settings().scroller_text_speed = v.f[0]; }},
    {"scene_scroller_text_color", Match::Prefix, Target::Setting, Value::Number, 4,
     [](LoadState& s, const Values& v) {
       s.settings().scroller_text_color = {v.f[0], v.f[1], v.f[2], v.f[3]};
     }},
    {"scene_glow_enabled", Match::Prefix, Target::Setting, Value::Whole, 1,
     [](LoadState& s, const Values& v) { s.settings().glow_enabled = v.i != 0; }},
    {"scene_glow_base", Match::Prefix, Target::Setting, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.settings().glow_base = v.f[0]; }},
    {"scene_glow_mul", Match::Prefix, Target::Setting, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.settings().glow_mul = v.f[0]; }},

    {"new_obj", Match::Either, Target::Object, Value::Name, 0, declareObject, true},
    {"obj_mesh", Match::Prefix, Target::Object, Value::Path, 1,
     [](LoadState& s, const Values& v) {
       s.object().mesh = s.getMesh(s.scene, v.word, s.report);
     }},
    {"obj_col_mesh", Match::Prefix, Target::Object, Value::Path, 1,
     [](LoadState& s, const Values& v) {
       s.object().col_mesh = s.getMesh(s.scene, v.word, s.report);
     }},
    // The radius is optional; it reads as 0.0 when only four numbers are given.
    {"obj_col_line", Match::Prefix, Target::Object, Value::Number, 4,
     [](LoadState& s, const Values& v) {
       s.object().has_col_line = true;
       s.object().col_line_a = vec(v.f[0], v.f[1]);
       s.object().col_line_b = vec(v.f[2], v.f[3]);
       s.object().col_line_radius = v.f[4];
     },
     false, 1},
    {"obj_pos", Match::Prefix, Target::Object, Value::Number, 2,
     [](LoadState& s, const Values& v) { s.object().pos = vec(v.f[0], v.f[1]); }},
    {"obj_scale", Match::Prefix, Target::Object, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.object().scale = v.f[0]; }},
    {"obj_mass", Match::Prefix, Target::Object, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.object().mass = v.f[0]; }},
    {"obj_bounciness", Match::Prefix, Target::Object, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.object().bounciness = v.f[0]; }},
    {"obj_friction", Match::Prefix, Target::Object, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.object().friction = v.f[0]; }},

    {"new_joint_pin", Match::Alone, Target::Joint, Value::None, 0,
     declareJoint<JointKind::Pin>, true},
    {"new_joint_slide", Match::Alone, Target::Joint, Value::None, 0,
     declareJoint<JointKind::Slide>, true},
    {"joint_obj_a", Match::Prefix, Target::Joint, Value::Name, 1,
     [](LoadState& s, const Values& v) { resolve(s, v, s.joint().obj_a, "Joint"); }},
    {"joint_obj_b", Match::Prefix, Target::Joint, Value::Name, 1,
     [](LoadState& s, const Values& v) { resolve(s, v, s.joint().obj_b, "Joint"); }},
    {"joint_anchor_a", Match::Prefix, Target::Joint, Value::Number, 2,
     [](LoadState& s, const Values& v) { s.joint().anchor_a = vec(v.f[0], v.f[1]); }},
    {"joint_anchor_b", Match::Prefix, Target::Joint, Value::Number, 2,
     [](LoadState& s, const Values& v) { s.joint().anchor_b = vec(v.f[0], v.f[1]); }},
    {"joint_slide_min", Match::Prefix, Target::Joint, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.joint().slide_min = v.f[0]; }},
    {"joint_slide_max", Match::Prefix, Target::Joint, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.joint().slide_max = v.f[0]; }},

    {"new_rope", Match::Alone, Target::Rope, Value::None, 0,
     [](LoadState& s, const Values&) {
       s.scene.ropes.push_back(std::make_unique<SceneRope>());
       s.active_rope = s.scene.ropes.back().get();
       s.active_rope->source.line = s.line;
     },
     true},
    {"rope_obj_a", Match::Prefix, Target::Rope, Value::Name, 1,
     [](LoadState& s, const Values& v) { resolve(s, v, s.rope().obj_a, "Rope"); }},
    {"rope_obj_b", Match::Prefix, Target::Rope, Value::Name, 1,
     [](LoadState& s, const Values& v) { resolve(s, v, s.rope().obj_b, "Rope"); }},
    {"rope_anchor_a", Match::Prefix, Target::Rope, Value::Number, 2,
     [](LoadState& s, const Values& v) { s.rope().anchor_a = vec(v.f[0], v.f[1]); }},
    {"rope_anchor_b", Match::Prefix, Target::Rope, Value::Number, 2,
     [](LoadState& s, const Values& v) { s.rope().anchor_b = vec(v.f[0], v.f[1]); }},
    {"rope_approx_seg_len", Match::Prefix, Target::Rope, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.rope().approx_seg_len = v.f[0]; }},
    {"rope_seg_mass", Match::Prefix, Target::Rope, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.rope().seg_mass = v.f[0]; }},
    {"rope_seg_thickness", Match::Prefix, Target::Rope, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.rope().seg_thickness = v.f[0]; }},
    {"rope_color", Match::Prefix, Target::Rope, Value::Number, 4,
     [](LoadState& s, const Values& v) {
       s.rope().color = {v.f[0], v.f[1], v.f[2], v.f[3]};
     }},

    // Added later: a near miss equally close to an older keyword suggests the older one.
    {"obj_angle", Match::Prefix, Target::Object, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.object().angle = v.f[0]; }},
    {"obj_velocity", Match::Prefix, Target::Object, Value::Number, 2,
     [](LoadState& s, const Values& v) { s.object().velocity = vec(v.f[0], v.f[1]); }},
    {"obj_spin", Match::Prefix, Target::Object, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.object().spin = v.f[0]; }},
    {"obj_kinematic", Match::Prefix, Target::Object, Value::Whole, 1,
     [](LoadState& s, const Values& v) { s.object().kinematic = v.i != 0; }},
    // Each line adds a circle.
    {"obj_col_circle", Match::Prefix, Target::Object, Value::Number, 3,
     [](LoadState& s, const Values& v) {
       s.object().circles.push_back({vec(v.f[0], v.f[1]), v.f[2], s.line});
     }},
    {"obj_moment", Match::Prefix, Target::Object, Value::Moment, 1,
     [](LoadState& s, const Values& v) {
       s.object().moment_rule = v.i ? MomentRule::Auto : MomentRule::Given;
       s.object().moment = v.f[0];
     }},
    {"obj_group", Match::Prefix, Target::Object, Value::Name, 1,
     [](LoadState& s, const Values& v) { s.object().group = groupNumber(s.scene, v.word); }},
    {"obj_layer", Match::Prefix, Target::Object, Value::Whole, 1,
     [](LoadState& s, const Values& v) { s.object().layer = v.i; }},

    {"new_joint_pivot", Match::Alone, Target::Joint, Value::None, 0,
     declareJoint<JointKind::Pivot>, true},
    {"new_joint_groove", Match::Alone, Target::Joint, Value::None, 0,
     declareJoint<JointKind::Groove>, true},
    {"new_joint_spring", Match::Alone, Target::Joint, Value::None, 0,
     declareJoint<JointKind::Spring>, true},
    {"new_joint_rotary_spring", Match::Alone, Target::Joint, Value::None, 0,
     declareJoint<JointKind::RotarySpring>, true},
    {"new_joint_rotary_limit", Match::Alone, Target::Joint, Value::None, 0,
     declareJoint<JointKind::RotaryLimit>, true},
    {"new_joint_ratchet", Match::Alone, Target::Joint, Value::None, 0,
     declareJoint<JointKind::Ratchet>, true},
    {"new_joint_gear", Match::Alone, Target::Joint, Value::None, 0,
     declareJoint<JointKind::Gear>, true},
    {"new_joint_motor", Match::Alone, Target::Joint, Value::None, 0,
     declareJoint<JointKind::Motor>, true},
    {"joint_pivot", Match::Prefix, Target::Joint, Value::Number, 2,
     [](LoadState& s, const Values& v) { s.joint().pivot = vec(v.f[0], v.f[1]); }},
    {"joint_groove_a", Match::Prefix, Target::Joint, Value::Number, 2,
     [](LoadState& s, const Values& v) { s.joint().groove_a = vec(v.f[0], v.f[1]); }},
    {"joint_groove_b", Match::Prefix, Target::Joint, Value::Number, 2,
     [](LoadState& s, const Values& v) { s.joint().groove_b = vec(v.f[0], v.f[1]); }},
    {"joint_rest_length", Match::Prefix, Target::Joint, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.joint().rest_length = v.f[0]; }},
    {"joint_rest_angle", Match::Prefix, Target::Joint, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.joint().rest_angle = v.f[0]; }},
    {"joint_stiffness", Match::Prefix, Target::Joint, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.joint().stiffness = v.f[0]; }},
    {"joint_damping", Match::Prefix, Target::Joint, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.joint().damping = v.f[0]; }},
    {"joint_angle_min", Match::Prefix, Target::Joint, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.joint().angle_min = v.f[0]; }},
    {"joint_angle_max", Match::Prefix, Target::Joint, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.joint().angle_max = v.f[0]; }},
    {"joint_phase", Match::Prefix, Target::Joint, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.joint().phase = v.f[0]; }},
    {"joint_ratchet", Match::Prefix, Target::Joint, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.joint().ratchet = v.f[0]; }},
    {"joint_ratio", Match::Prefix, Target::Joint, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.joint().ratio = v.f[0]; }},
    {"joint_rate", Match::Prefix, Target::Joint, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.joint().rate = v.f[0]; }},
    {"joint_max_force", Match::Prefix, Target::Joint, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.joint().max_force = v.f[0]; }},
    {"joint_break_force", Match::Prefix, Target::Joint, Value::Number, 1,
     [](LoadState& s, const Values& v) { s.joint().break_force = v.f[0]; }},
    {"joint_collide", Match::Prefix, Target::Joint, Value::Whole, 1,
     [](LoadState& s, const Values& v) { s.joint().collide = v.i != 0; }},
    {"joint_color", Match::Prefix, Target::Joint, Value::Number, 4,
     [](LoadState& s, const Values& v) {
       s.joint().color = {v.f[0], v.f[1], v.f[2], v.f[3]};
       s.joint().coloured = true;
     }},
};

// Converts the line's values as the row says; returns how many were converted.
int convert(const KeywordRow& row, Values& values) {
  int got = 0;
  switch (row.value) {
    case Value::None:
    case Value::Text: return 0;
    case Value::Whole: return scanInt(values.rest, &values.i);
    case Value::Name:
    case Value::Path: {
      LineBuffer word;  // a word of the line always fits
      got = std::sscanf(values.rest, " %s", word);
      if (got == 1) values.word = word;
      break;
    }
    case Value::Moment: {
      LineBuffer word;
      if (std::sscanf(values.rest, " %s", word) == 1 && std::strcmp(word, "auto") == 0)
        return values.i = 1;
      got = std::sscanf(values.rest, " %f", &values.f[0]);
      break;
    }
    case Value::Number:
      // Conversion stops at the first value that does not convert, so the values a row uses
      // read as a format of just those would read them.
      got = std::sscanf(values.rest, " %f %f %f %f %f", &values.f[0], &values.f[1], &values.f[2],
                        &values.f[3], &values.f[4]);
      break;
  }
  return got == EOF ? 0 : got;
}

const char* itemWord(Target target) {
  switch (target) {
    case Target::Object: return "object";
    case Target::Joint: return "joint";
    case Target::Rope: return "rope";
    default: return "setting";
  }
}

// The source of the item a line of this target changes; nullptr when there is none.
Source* activeSource(LoadState& s, Target target) {
  switch (target) {
    case Target::Object: return s.active_object ? &s.active_object->source : nullptr;
    case Target::Joint: return s.active_joint ? &s.active_joint->source : nullptr;
    case Target::Rope: return s.active_rope ? &s.active_rope->source : nullptr;
    default: return &s.scene.settings.source;
  }
}

// What a row's values are, for "needs ..., found ..." reports.
std::string valuesWanted(const KeywordRow& row) {
  switch (row.value) {
    case Value::Whole: return "a whole number";
    case Value::Path: return "a file path";
    case Value::Name: return row.target == Target::Object ? "a group name" : "an object name";
    case Value::Moment: return "a number or auto";
    default: break;
  }
  if (row.optional > 0)
    return std::to_string(row.needed) + " or " + std::to_string(row.needed + row.optional) +
           " numbers";
  return row.needed == 1 ? "a number" : std::to_string(row.needed) + " numbers";
}

// Whether the text after a whole number's digits shows it was written as a fraction or with an
// exponent ("1.5", "1e3"), which reads as its whole part only.
bool looksFractional(const char* rest) {
  const char* p = rest + std::strspn(rest, " \t\n\v\f\r");
  p += std::strspn(p, "+-");
  p += std::strspn(p, "0123456789");
  if (*p == '.') return true;
  if (*p != 'e' && *p != 'E') return false;
  ++p;
  p += std::strspn(p, "+-");
  return *p >= '0' && *p <= '9';
}

std::vector<KeywordInfo> keywordInfo();

// A declaration keyword with more after it declares nothing; the lines after it go on
// filling the item declared before. Returns whether the line was such a declaration.
bool reportDeclarationWithText(LoadState& s, const char* line);

void reportUnrecognised(LoadState& s, const char* line) {
  if (reportDeclarationWithText(s, line)) return;
  static const std::vector<KeywordInfo> keywords = keywordInfo();
  const std::string problem =
      unrecognisedLineProblem(line, keywords, true, {"scene_", "obj_", "joint_", "rope_", "new_"});
  if (!problem.empty()) warn(s.report, problem);
}

void handleLine(LoadState& state, const char* line, bool continued) {
  for (const KeywordRow& row : kKeywords) {
    if (!matchesKeyword(line, row.keyword, row.match)) continue;
    Source* source = row.declares ? nullptr : activeSource(state, row.target);
    if (!row.declares && !source) {
      problem(state.report, std::string("No active ") + itemWord(row.target) + " for: " + line);
      return;
    }
    Values values;
    values.rest = line + std::strlen(row.keyword);
    const int got = convert(row, values);
    if (got >= row.needed) {
      if (source) source->setAt(row.keyword, state.line);
      if (row.value == Value::Whole && looksFractional(values.rest))
        warn(state.report, std::string(row.keyword) + " needs a whole number: it reads as " +
                               std::to_string(values.i));
      row.apply(state, values);
    } else {
      warn(state.report, std::string(row.keyword) + " needs " + valuesWanted(row) + ", found " +
                             (got == 0 ? "none" : std::to_string(got)) + ": the line is ignored");
    }
    return;
  }
  if (state.report.collect && !continued) reportUnrecognised(state, line);
}

std::vector<KeywordInfo> keywordInfo() {
  std::vector<KeywordInfo> list;
  for (const KeywordRow& row : kKeywords)
    list.push_back({row.keyword, row.match != Match::Prefix, row.match != Match::Alone});
  return list;
}

bool reportDeclarationWithText(LoadState& s, const char* line) {
  for (const KeywordRow& row : kKeywords) {
    if (!row.declares) continue;
    const size_t n = std::strlen(row.keyword);
    if (std::strncmp(line, row.keyword, n) != 0 || (line[n] != ' ' && line[n] != '\t')) continue;
    if (row.match != Match::Alone && line[n] == ' ') return false;  // a name: recognised
    const std::string item = itemWord(row.target);
    const std::string family = item.substr(0, row.target == Target::Object ? 3 : 5);
    std::string text = "'" + std::string(row.keyword) + "' followed by " +
                       (line[n] == '\t' ? "a tab" : "more text") + " declares nothing: the " +
                       family + "_ lines below ";
    const Source* active = activeSource(s, row.target);
    if (!active) {
      warn(s.report, text + "find no active " + item);
    } else {
      warn(s.report, text + "change the " + item + " declared at line " +
                         std::to_string(active->line));
      noteAt(s.report, s.at(*active), "the " + item + " they change");
    }
    return true;
  }
  return false;
}

// Names that were not registered when a joint or rope named them: where they are declared
// further down, or, when nowhere, a declared name close to them.
void reportLateDeclarations(LoadState& s) {
  auto& list = s.report.diagnostics;
  for (auto p = s.pending.rbegin(); p != s.pending.rend(); ++p) {
    auto found = s.scene.objects.find(p->name);
    if (found == s.scene.objects.end()) {
      std::string& text = list[p->warning].text;
      text += ": no object of that name is declared";
      for (const auto& [name, object] : s.scene.objects)
        if (editDistance(name, p->name) <= 2) {
          text += " (did you mean '" + name + "'?)";
          break;
        }
      continue;
    }
    list.insert(list.begin() + p->warning + 1,
                {s.at(found->second->source), Severity::Note,
                 "'" + p->name + "' is declared here, below the line that names it: " +
                     "objects must be declared above the joints and ropes that name them"});
  }
}

}  // namespace

std::unique_ptr<Scene> readScene(const char* path, MeshLookup getMesh, Reporter& report) {
  say(report, std::string("Reading scene file '") + path + "'..");
  noteOpened(report, path);
  TextForm form = TextForm::Plain;
  FILE* file = openTextFile(path, &form);
  if (!file) {
    say(report, std::string("SCENE FILE NOT FOUND! ('") + path + "')");
    return nullptr;
  }
  auto scene = std::make_unique<Scene>();
  scene->path = path;
  LoadState state{*scene, getMesh, report, 0, nullptr, nullptr, nullptr, {}};
  const std::string name = path;
  const size_t slash = name.rfind('/');
  report.scene_folder = slash == std::string::npos ? "" : name.substr(0, slash + 1);
  report.reading = {Place{path, 0}};
  const QuietWhile fragments(report, reportTextForm(report, form));
  LineBuffer line;
  bool whole = true, continued = false;
  while (readLine(file, line, &whole)) {
    if (!continued) {
      report.reading.front().line = ++state.line;
      if (!whole && report.collect && form == TextForm::Plain && !isCommentOrBlank(line))
        warn(report,
             "line is longer than 1023 bytes: it is read in parts of 1023, each handled "
             "as a line of its own");
    }
    handleLine(state, line, continued);
    continued = !whole;
  }
  std::fclose(file);
  reportLateDeclarations(state);
  orderDrawing(*scene);
  report.reading.clear();
  return scene;
}
