#include "scene/scene_loader.h"

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
  size_t warning;  // index of its warning in the diagnostics
};

struct LoadState {
  Scene& scene;
  MeshLookup getMesh;
  Diagnostics* diag = nullptr;
  SceneObject* object = nullptr;
  SceneJoint* joint = nullptr;
  SceneRope* rope = nullptr;
  std::vector<PendingReference> pending;
};

Place here(const LoadState& s) { return s.diag->reading.front(); }

// Remembers where an item was declared, for the builders' reports.
void noteDeclared(LoadState& s, const void* item) {
  if (s.diag) s.diag->declared[item] = here(s);
}

// The values read from one recognised line.
struct Values {
  const char* rest = nullptr;  // everything after the keyword
  float f[5] = {0, 0, 0, 0, 0};
  int i = 0;
  std::string word;
};

enum class Target { Setting, Object, Joint, Rope, Declaration };

struct KeywordRow {
  const char* keyword;
  Match match;
  Target target;
  // The values after the keyword, as formatted input reads them; nullptr: the line carries
  // no values to convert.
  const char* format;
  int needed;  // least number of converted values for the line to take effect
  void (*apply)(LoadState&, const Values&);
};

cpVect vec(float x, float y) { return cpv(x, y); }

void declareObject(LoadState& s, const Values& v) {
  std::string name = v.word;
  if (name.empty()) {
    char generated[32];
    std::snprintf(generated, sizeof generated, "@@@UNIQUE%d", ++s.scene.unique_counter);
    name = generated;
  }
  auto previous = s.scene.objects.find(name);
  if (previous != s.scene.objects.end()) {
    std::printf("Scene has a duplicate object: '%s'\n", name.c_str());
    warn(s.diag, "Scene has a duplicate object: '" + name +
                     "': the earlier one is never built and stays invisible");
    if (s.diag) noteAt(s.diag, s.diag->declared[previous->second], "first declared here");
  }
  s.scene.object_store.push_back(std::make_unique<SceneObject>());
  s.object = s.scene.object_store.back().get();
  s.scene.objects[name] = s.object;
  noteDeclared(s, s.object);
  if (s.diag) s.diag->names[s.object] = name;
}

void declareJoint(LoadState& s, JointKind kind) {
  s.scene.joints.push_back(std::make_unique<SceneJoint>());
  s.joint = s.scene.joints.back().get();
  s.joint->kind = kind;
  noteDeclared(s, s.joint);
}

// Resolves a joint or rope reference; prints the kind's message when the name is unknown.
void resolve(LoadState& s, const Values& v, SceneObject*& field, const char* who) {
  auto found = s.scene.objects.find(v.word);
  if (found == s.scene.objects.end()) {
    std::printf("%s tried to use an object not yet created: '%s'\n", who, v.word.c_str());
    if (s.diag) s.pending.push_back({v.word, s.diag->list.size()});
    warn(s.diag, std::string(who) + " tried to use an object not yet created: '" + v.word + "'");
    return;
  }
  field = found->second;
}

// Tested in this order; no line can match two rows.
const KeywordRow kKeywords[] = {
    {"scene_fps", Match::Prefix, Target::Setting, " %f", 1,
     [](LoadState& s, const Values& v) { s.scene.settings.fps = v.f[0]; }},
    {"scene_step_iterations", Match::Prefix, Target::Setting, " %d", 1,
     [](LoadState& s, const Values& v) { s.scene.settings.step_iterations = v.i; }},
    {"scene_solver_iterations", Match::Prefix, Target::Setting, " %d", 1,
     [](LoadState& s, const Values& v) { s.scene.settings.solver_iterations = v.i; }},
    {"scene_gravity", Match::Prefix, Target::Setting, " %f %f", 2,
     [](LoadState& s, const Values& v) { s.scene.settings.gravity = vec(v.f[0], v.f[1]); }},
    {"scene_damping", Match::Prefix, Target::Setting, " %f", 1,
     [](LoadState& s, const Values& v) { s.scene.settings.damping = v.f[0]; }},
    {"scene_mouse_hide_in_fullscreen", Match::Prefix, Target::Setting, " %d", 1,
     [](LoadState& s, const Values& v) { s.scene.settings.mouse_hide_in_fullscreen = v.i != 0; }},
    {"scene_mouse_impulse_force", Match::Prefix, Target::Setting, " %f", 1,
     [](LoadState& s, const Values& v) { s.scene.settings.mouse_impulse_force = v.f[0]; }},
    {"scene_mouse_impulse_force_max", Match::Prefix, Target::Setting, " %f", 1,
     [](LoadState& s, const Values& v) { s.scene.settings.mouse_impulse_force_max = v.f[0]; }},
    {"scene_draw_rope_after_objects", Match::Prefix, Target::Setting, " %d", 1,
     [](LoadState& s, const Values& v) { s.scene.settings.draw_rope_after_objects = v.i != 0; }},
    // Not parsed: the text is the rest of the line, its leading blank included.
    {"scene_scroller_text", Match::Either, Target::Setting, nullptr, 0,
     [](LoadState& s, const Values& v) { s.scene.settings.scroller_text = v.rest; }},
    {"scene_scroller_text_y", Match::Prefix, Target::Setting, " %f", 1,
     [](LoadState& s, const Values& v) { s.scene.settings.scroller_text_y = v.f[0]; }},
    {"scene_scroller_text_scale", Match::Prefix, Target::Setting, " %f", 1,
     [](LoadState& s, const Values& v) { s.scene.settings.scroller_text_scale = v.f[0]; }},
    {"scene_scroller_text_thickness", Match::Prefix, Target::Setting, " %f", 1,
     [](LoadState& s, const Values& v) { s.scene.settings.scroller_text_thickness = v.f[0]; }},
    {"scene_scroller_text_shadow_dist", Match::Prefix, Target::Setting, " %f %f", 2,
     [](LoadState& s, const Values& v) {
       s.scene.settings.scroller_text_shadow_dist = vec(v.f[0], v.f[1]);
     }},
    {"scene_scroller_text_speed", Match::Prefix, Target::Setting, " %f", 1,
     [](LoadState& s, const Values& v) { s.scene.settings.scroller_text_speed = v.f[0]; }},
    {"scene_scroller_text_color", Match::Prefix, Target::Setting, " %f %f %f %f", 4,
     [](LoadState& s, const Values& v) {
       s.scene.settings.scroller_text_color = {v.f[0], v.f[1], v.f[2], v.f[3]};
     }},
    {"scene_glow_enabled", Match::Prefix, Target::Setting, " %d", 1,
     [](LoadState& s, const Values& v) { s.scene.settings.glow_enabled = v.i != 0; }},
    {"scene_glow_base", Match::Prefix, Target::Setting, " %f", 1,
     [](LoadState& s, const Values& v) { s.scene.settings.glow_base = v.f[0]; }},
    {"scene_glow_mul", Match::Prefix, Target::Setting, " %f", 1,
     [](LoadState& s, const Values& v) { s.scene.settings.glow_mul = v.f[0]; }},

    {"new_obj", Match::Either, Target::Declaration, " %s", 0, declareObject},
    {"obj_mesh", Match::Prefix, Target::Object, " %s", 1,
     [](LoadState& s, const Values& v) { s.object->mesh = s.getMesh(s.scene, v.word, s.diag); }},
    {"obj_col_mesh", Match::Prefix, Target::Object, " %s", 1,
     [](LoadState& s, const Values& v) {
       s.object->col_mesh = s.getMesh(s.scene, v.word, s.diag);
     }},
    // The radius is optional; it reads as 0.0 when only four numbers are given.
    {"obj_col_line", Match::Prefix, Target::Object, " %f %f %f %f %f", 4,
     [](LoadState& s, const Values& v) {
       s.object->has_col_line = true;
       s.object->col_line_a = vec(v.f[0], v.f[1]);
       s.object->col_line_b = vec(v.f[2], v.f[3]);
       s.object->col_line_radius = v.f[4];
     }},
    {"obj_pos", Match::Prefix, Target::Object, " %f %f", 2,
     [](LoadState& s, const Values& v) { s.object->pos = vec(v.f[0], v.f[1]); }},
    {"obj_scale", Match::Prefix, Target::Object, " %f", 1,
     [](LoadState& s, const Values& v) { s.object->scale = v.f[0]; }},
    {"obj_mass", Match::Prefix, Target::Object, " %f", 1,
     [](LoadState& s, const Values& v) { s.object->mass = v.f[0]; }},
    {"obj_bounciness", Match::Prefix, Target::Object, " %f", 1,
     [](LoadState& s, const Values& v) { s.object->bounciness = v.f[0]; }},
    {"obj_friction", Match::Prefix, Target::Object, " %f", 1,
     [](LoadState& s, const Values& v) { s.object->friction = v.f[0]; }},

    {"new_joint_pin", Match::Alone, Target::Declaration, nullptr, 0,
     [](LoadState& s, const Values&) { declareJoint(s, JointKind::Pin); }},
    {"new_joint_slide", Match::Alone, Target::Declaration, nullptr, 0,
     [](LoadState& s, const Values&) { declareJoint(s, JointKind::Slide); }},
    {"joint_obj_a", Match::Prefix, Target::Joint, " %s", 1,
     [](LoadState& s, const Values& v) { resolve(s, v, s.joint->obj_a, "Joint"); }},
    {"joint_obj_b", Match::Prefix, Target::Joint, " %s", 1,
     [](LoadState& s, const Values& v) { resolve(s, v, s.joint->obj_b, "Joint"); }},
    {"joint_anchor_a", Match::Prefix, Target::Joint, " %f %f", 2,
     [](LoadState& s, const Values& v) { s.joint->anchor_a = vec(v.f[0], v.f[1]); }},
    {"joint_anchor_b", Match::Prefix, Target::Joint, " %f %f", 2,
     [](LoadState& s, const Values& v) { s.joint->anchor_b = vec(v.f[0], v.f[1]); }},
    {"joint_slide_min", Match::Prefix, Target::Joint, " %f", 1,
     [](LoadState& s, const Values& v) { s.joint->slide_min = v.f[0]; }},
    {"joint_slide_max", Match::Prefix, Target::Joint, " %f", 1,
     [](LoadState& s, const Values& v) { s.joint->slide_max = v.f[0]; }},

    {"new_rope", Match::Alone, Target::Declaration, nullptr, 0,
     [](LoadState& s, const Values&) {
       s.scene.ropes.push_back(std::make_unique<SceneRope>());
       s.rope = s.scene.ropes.back().get();
       noteDeclared(s, s.rope);
     }},
    {"rope_obj_a", Match::Prefix, Target::Rope, " %s", 1,
     [](LoadState& s, const Values& v) { resolve(s, v, s.rope->obj_a, "Rope"); }},
    {"rope_obj_b", Match::Prefix, Target::Rope, " %s", 1,
     [](LoadState& s, const Values& v) { resolve(s, v, s.rope->obj_b, "Rope"); }},
    {"rope_anchor_a", Match::Prefix, Target::Rope, " %f %f", 2,
     [](LoadState& s, const Values& v) { s.rope->anchor_a = vec(v.f[0], v.f[1]); }},
    {"rope_anchor_b", Match::Prefix, Target::Rope, " %f %f", 2,
     [](LoadState& s, const Values& v) { s.rope->anchor_b = vec(v.f[0], v.f[1]); }},
    {"rope_approx_seg_len", Match::Prefix, Target::Rope, " %f", 1,
     [](LoadState& s, const Values& v) { s.rope->approx_seg_len = v.f[0]; }},
    {"rope_seg_mass", Match::Prefix, Target::Rope, " %f", 1,
     [](LoadState& s, const Values& v) { s.rope->seg_mass = v.f[0]; }},
    {"rope_seg_thickness", Match::Prefix, Target::Rope, " %f", 1,
     [](LoadState& s, const Values& v) { s.rope->seg_thickness = v.f[0]; }},
    {"rope_color", Match::Prefix, Target::Rope, " %f %f %f %f", 4,
     [](LoadState& s, const Values& v) {
       s.rope->color = {v.f[0], v.f[1], v.f[2], v.f[3]};
     }},
};

// Converts the line's values with the row's format; returns how many were converted.
int convert(const KeywordRow& row, Values& values) {
  if (!row.format) return 0;
  int got = 0;
  switch (std::strchr(row.format, '%')[1]) {
    case 'd': got = scanInt(values.rest, &values.i); break;
    case 's': {
      LineBuffer word;  // a word of the line always fits
      got = std::sscanf(values.rest, row.format, word);
      if (got == 1) values.word = word;
      break;
    }
    default:
      got = std::sscanf(values.rest, row.format, &values.f[0], &values.f[1], &values.f[2],
                        &values.f[3], &values.f[4]);
      break;
  }
  return got < 0 ? 0 : got;
}

bool hasActiveItem(const LoadState& s, Target target) {
  switch (target) {
    case Target::Object: return s.object != nullptr;
    case Target::Joint: return s.joint != nullptr;
    case Target::Rope: return s.rope != nullptr;
    default: return true;
  }
}

const char* noActiveMessage(Target target) {
  switch (target) {
    case Target::Object: return "No active object for: %s\n";
    case Target::Joint: return "No active joint for: %s\n";
    default: return "No active rope for: %s\n";
  }
}

const void* activeItem(const LoadState& s, Target target) {
  switch (target) {
    case Target::Object: return s.object;
    case Target::Joint: return s.joint;
    case Target::Rope: return s.rope;
    default: return &s.scene.settings;
  }
}

// What a row's values are, for "needs ..., found ..." reports.
std::string valuesWanted(const KeywordRow& row) {
  const char kind = std::strchr(row.format, '%')[1];
  if (kind == 'd') return "a whole number";
  if (kind == 's') return std::strstr(row.keyword, "mesh") ? "a file path" : "an object name";
  int count = 0;
  for (const char* p = row.format; (p = std::strchr(p, '%')); ++p) ++count;
  if (count > row.needed)
    return std::to_string(row.needed) + " or " + std::to_string(count) + " numbers";
  return row.needed == 1 ? "a number" : std::to_string(row.needed) + " numbers";
}

std::vector<KeywordInfo> keywordInfo() {
  std::vector<KeywordInfo> list;
  for (const KeywordRow& row : kKeywords)
    list.push_back({row.keyword, row.match != Match::Prefix, row.match != Match::Alone});
  return list;
}

// A declaration keyword with more after it declares nothing; the lines after it go on
// filling the item declared before. Returns whether the line was such a declaration.
bool reportDeclarationWithText(LoadState& s, const char* line) {
  struct Kind {
    const char* keyword;
    Target target;
    const char* item;
  };
  static const Kind kinds[] = {{"new_obj", Target::Object, "object"},
                               {"new_joint_pin", Target::Joint, "joint"},
                               {"new_joint_slide", Target::Joint, "joint"},
                               {"new_rope", Target::Rope, "rope"}};
  for (const Kind& k : kinds) {
    const size_t n = std::strlen(k.keyword);
    if (std::strncmp(line, k.keyword, n) != 0 || (line[n] != ' ' && line[n] != '\t')) continue;
    if (k.target == Target::Object && line[n] == ' ') return false;  // a name: recognised
    const std::string family = std::string(k.item).substr(0, k.target == Target::Object ? 3 : 5);
    std::string text = "'" + std::string(k.keyword) + "' followed by " +
                       (line[n] == '\t' ? "a tab" : "more text") + " declares nothing: the " +
                       family + "_ lines below ";
    const void* active = activeItem(s, k.target);
    if (!active) {
      warn(s.diag, text + "find no active " + k.item);
    } else {
      const Place& declared = s.diag->declared[active];
      warn(s.diag,
           text + "change the " + k.item + " declared at line " + std::to_string(declared.line));
      noteAt(s.diag, declared, std::string("the ") + k.item + " they change");
    }
    return true;
  }
  return false;
}

void reportUnrecognised(LoadState& s, const char* line) {
  if (reportDeclarationWithText(s, line)) return;
  static const std::vector<KeywordInfo> keywords = keywordInfo();
  const std::string problem =
      unrecognisedLineProblem(line, keywords, true, {"scene_", "obj_", "joint_", "rope_", "new_"});
  if (!problem.empty()) warn(s.diag, problem);
}

void handleLine(LoadState& state, const char* line, bool continued) {
  for (const KeywordRow& row : kKeywords) {
    if (!matchesKeyword(line, row.keyword, row.match)) continue;
    if (!hasActiveItem(state, row.target)) {
      std::printf(noActiveMessage(row.target), line);
      if (state.diag) {
        std::string message = noActiveMessage(row.target);
        message.replace(message.find("%s\n"), 3, line);
        warn(state.diag, message);
      }
      return;
    }
    Values values;
    values.rest = line + std::strlen(row.keyword);
    const int got = convert(row, values);
    if (got >= row.needed) {
      if (state.diag && row.target != Target::Declaration)
        state.diag->set_at[{activeItem(state, row.target), row.keyword}] = here(state);
      if (state.diag && std::strstr(row.format ? row.format : "", "%d") &&
          std::strspn(values.rest + std::strspn(values.rest, " \t+-0123456789"), ".eE") > 0)
        warn(state.diag, std::string(row.keyword) + " needs a whole number: it reads as " +
                             std::to_string(values.i));
      row.apply(state, values);
    } else if (state.diag) {
      warn(state.diag, std::string(row.keyword) + " needs " + valuesWanted(row) + ", found " +
                           (got == 0 ? "none" : std::to_string(got)) + ": the line is ignored");
    }
    return;
  }
  if (state.diag && !continued) reportUnrecognised(state, line);
}

// Names that were not registered when a joint or rope named them: where they are declared
// further down, or, when nowhere, a declared name close to them.
void reportLateDeclarations(LoadState& s) {
  for (auto p = s.pending.rbegin(); p != s.pending.rend(); ++p) {
    auto found = s.scene.objects.find(p->name);
    if (found == s.scene.objects.end()) {
      std::string& text = s.diag->list[p->warning].text;
      text += ": no object of that name is declared";
      for (const auto& [name, object] : s.scene.objects)
        if (editDistance(name, p->name) <= 2) {
          text += " (did you mean '" + name + "'?)";
          break;
        }
      continue;
    }
    const Place& declared = s.diag->declared[found->second];
    s.diag->list.insert(s.diag->list.begin() + p->warning + 1,
                        {declared, Severity::Note,
                         "'" + p->name + "' is declared here, below the line that names it: " +
                             "objects must be declared above the joints and ropes that name them"});
  }
}

}  // namespace

std::unique_ptr<Scene> readScene(const char* path, MeshLookup getMesh, Diagnostics* diag) {
  std::printf("Reading scene file '%s'..\n", path);
  noteOpened(diag, path);
  FILE* file = openTextFile(path);
  if (!file) {
    std::printf("SCENE FILE NOT FOUND! ('%s')\n", path);
    return nullptr;
  }
  auto scene = std::make_unique<Scene>();
  LoadState state{*scene, getMesh, diag, nullptr, nullptr, nullptr, {}};
  if (diag) {
    const std::string name = path;
    const size_t slash = name.rfind('/');
    diag->scene_folder = slash == std::string::npos ? "" : name.substr(0, slash + 1);
    diag->reading = {Place{path, 0}};
    diag->declared[&scene->settings] = Place{path, 0};
  }
  LineBuffer line;
  bool whole = true, continued = false;
  int number = 0;
  while (readLine(file, line, diag ? &whole : nullptr)) {
    if (diag && !continued) {
      diag->reading.front().line = ++number;
      if (!whole && !isCommentOrBlank(line))
        warn(diag,
             "line is longer than 1023 bytes: it is read in parts of 1023, each handled "
             "as a line of its own");
    }
    handleLine(state, line, continued);
    continued = !whole;
  }
  std::fclose(file);
  if (diag) reportLateDeclarations(state);
  return scene;
}
