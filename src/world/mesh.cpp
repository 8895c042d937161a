#include "world/mesh.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include <map>

#include "scene/line_check.h"
#include "scene/line_reader.h"
#include "world/limits.h"
#include "world/mesh_check.h"

namespace {

bool startsWith(const char* line, const char* keyword) {
  return std::strncmp(line, keyword, std::strlen(keyword)) == 0;
}

// Appends the fan triangles of one "f " line; corners are separated by single spaces. Returns
// whether a corner number is negative.
bool readFace(Mesh& mesh, const char* corners, Color3 color, Reporter& report) {
  if (report.collect) reportFaceLine(report, corners);
  int first = -1, second = -1, zero = 0, negative = 0;
  for (const char* p = corners;;) {
    int number;
    if (!scanInt(p, &number)) break;
    zero += number == 0;
    negative += number < 0;
    // Numbers are 1-based; a corner number of 0 or below leaves its place unset.
    const int k = number == INT_MIN ? -1 : number - 1;
    if (first < 0) {
      first = k;
    } else if (second < 0) {
      second = k;
    } else {
      mesh.triangles.push_back({first, second, k, color});
      second = k;
    }
    p = std::strchr(p, ' ');
    if (!p) break;
    ++p;
  }
  // OBJ writers may count back from the last vertex; this reader counts only from the first.
  if (negative)
    warn(report,
         "face uses relative (negative) vertex numbers, which are not supported: write the "
         "vertex numbers counted from 1");
  if (zero)
    warn(report, std::to_string(zero) + " corner number" + (zero == 1 ? "" : "s") +
                     " of 0 or below name no vertex (vertices are numbered from 1)");
  return negative > 0;
}

// A plain decimal of at most 7 digits ([+-]digits[.digits]) ending at white space or the end:
// the numerator and the power of ten are exact floats, so one float division rounds exactly as
// the formatted-input conversion does. Anything else is left to it.
bool plainDecimal(const char*& text, float* out) {
  static const float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f};
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  long digits = 0, value = 0, decimals = 0;
  bool point = false;
  for (;; ++p) {
    if (*p >= '0' && *p <= '9') {
      value = value * 10 + (*p - '0');
      decimals += point;
      if (++digits > 7) return false;
    } else if (*p == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0 || !(*p == '\0' || *p == ' ' || (*p >= '\t' && *p <= '\r'))) return false;
  const float magnitude = static_cast<float>(value) / kPowers[decimals];
  *out = negative ? -magnitude : magnitude;
  text = p;
  return true;
}

bool namesVertices(const MeshTriangle& t, size_t count) {
  auto ok = [count](int index) { return index >= 0 && static_cast<size_t>(index) < count; };
  return ok(t.a) && ok(t.b) && ok(t.c);
}

using MaterialTable = std::map<std::string, Color3>;

// Reads an already opened MTL-subset file into the table and closes it.
void loadMaterials(MaterialTable& materials, FILE* file, const std::string& path, TextForm form,
                   Reporter& report) {
  std::string current;
  LineBuffer buffer;
  LineCounter counter(report, path, form);
  while (readLine(file, buffer, counter.whole())) {
    counter.next(buffer);
    // Skips codes 1 to 32 and, as signed bytes, every byte from 128 up.
    const char* line = buffer;
    while (*line && static_cast<signed char>(*line) <= 32) ++line;
    LineBuffer word;
    float r, g, b;
    if (startsWith(line, "newmtl ")) {
      if (std::sscanf(line, "newmtl %s", word) == 1) {
        current = word;
        materials[current] = {0.0f, 0.0f, 0.0f};
      }
    } else if (startsWith(line, "Kd ")) {
      const int got = std::sscanf(line, "Kd %f %f %f", &r, &g, &b);
      if (got == 3) {
        materials[current] = {r, g, b};
      } else {
        warn(report, "Kd needs 3 numbers, found " + std::to_string(got < 0 ? 0 : got) +
                         ": the line is ignored");
      }
    } else if (report.collect) {
      reportUnrecognisedMeshLine(report, line, false);
    }
  }
  std::fclose(file);
}

// A material the name was likely meant to be: one equal to it ignoring case, else the first
// within an edit or two (two for names of 8 bytes or more) that keeps most of it; "" when none
// is.
std::string nearMaterial(const MaterialTable& materials, const std::string& name) {
  const std::string lowered = lower(name);
  const int limit = name.size() < 8 ? 1 : 2;
  std::string near;
  for (const auto& [known, color] : materials) {
    if (lower(known) == lowered) return known;
    const size_t edits = static_cast<size_t>(editDistance(lower(known), lowered));
    if (near.empty() && edits <= static_cast<size_t>(limit) && 2 * edits < name.size())
      near = known;
  }
  return near;
}

// The mtllib line's words after its first, which are not read: either more files, or the rest
// of a path with a space in it. Returns the text to add to the not-found warning for the
// latter, or warns about the former.
std::string reportMoreWords(Reporter& report, const char* line, const char* word, bool found) {
  const char* first = line + std::strlen("mtllib");
  first += std::strspn(first, " \t\v\f");
  const char* more = first + std::strlen(word);
  more += std::strspn(more, " \t\v\f");
  if (!report.collect || *more == '\0') return "";
  std::string whole = first;
  whole.erase(whole.find_last_not_of(" \t\v\f") + 1);
  const std::string name = word;
  const bool mtl = name.size() > 4 && lower(name.substr(name.size() - 4)) == ".mtl";
  FILE* spaced = found ? nullptr : openTextFile(whole.c_str());
  if (spaced) std::fclose(spaced);
  if (!found && (spaced || !mtl))
    return ": a path ends at its first space, so '" + whole + "' is read as '" + name +
           "' (rename the file without spaces, and write its new name here)";
  std::string rest = more;
  rest.erase(rest.find_last_not_of(" \t\v\f") + 1);
  warn(report, "only the first file of an mtllib line is read, not '" + rest +
                   "' (give each file an mtllib line of its own)");
  return "";
}

}  // namespace

int readVertex(const char* line, float xyz[3]) {
  const char* p = line + 1;
  float fast[3];
  if (plainDecimal(p, &fast[0]) && plainDecimal(p, &fast[1]) && plainDecimal(p, &fast[2])) {
    std::copy(fast, fast + 3, xyz);
    return 3;
  }
  return std::sscanf(line, "v %f %f %f", &xyz[0], &xyz[1], &xyz[2]);
}

std::unique_ptr<Mesh> loadMesh(const std::string& path, Reporter& report) {
  say(report, "Reading mesh file '" + path + "'..");
  noteOpened(report, path);
  TextForm form = TextForm::Plain;
  FILE* file = openTextFile(path.c_str(), &form);
  if (!file) {
    missingFile(report, "MESH", path);
    return nullptr;
  }
  auto mesh = std::make_unique<Mesh>();
  MaterialTable materials;
  bool any_mtllib = false;
  Color3 color;
  LineBuffer line;
  LineCounter counter(report, path, form);
  std::vector<Place> face_places;  // parallel to the triangles, with diagnostics only
  while (readLine(file, line, counter.whole())) {
    counter.next(line);
    LineBuffer word;
    if (startsWith(line, "mtllib ")) {
      if (std::sscanf(line, "mtllib %s", word) != 1) continue;
      say(report, std::string("Reading material file '") + word + "'..");
      noteOpened(report, word);
      any_mtllib = true;
      TextForm mtl_form = TextForm::Plain;
      FILE* mtl = openTextFile(word, &mtl_form);
      const std::string cut = reportMoreWords(report, line, word, mtl != nullptr);
      if (mtl)
        loadMaterials(materials, mtl, word, mtl_form, report);
      else
        missingFile(report, "MATERIAL", word, cut);
    } else if (startsWith(line, "usemtl ")) {
      if (std::sscanf(line, "usemtl %s", word) != 1) continue;
      auto found = materials.find(word);
      if (found == materials.end()) {
        const std::string near = report.collect ? nearMaterial(materials, word) : "";
        problem(report, std::string("(material '") + word + "' not found!)",
                std::string(": the faces below keep the colour before") +
                    (any_mtllib ? "" : " (no mtllib line above)") +
                    (near.empty() ? "" : " (did you mean '" + near + "'?)"));
      } else {
        color = found->second;
      }
    } else if (startsWith(line, "v ")) {
      // x is the first number, y the third; missing numbers read as 0.
      float xyz[3] = {0.0f, 0.0f, 0.0f};
      const int got = readVertex(line, xyz);
      if (got < 3)
        warn(report, "v needs 3 numbers (x, unused, y), found " +
                         std::to_string(got < 0 ? 0 : got) + ": the missing ones read as 0");
      mesh->vertices.push_back(cpv(xyz[0], xyz[2]));
    } else if (startsWith(line, "f ")) {
      const size_t before = mesh->triangles.size();
      const bool relative = readFace(*mesh, line + 2, color, report);
      ++mesh->faces;
      // Negative numbers, told as read, are why such a face adds none.
      if (mesh->triangles.size() == before && !relative)
        warn(report, "face adds no triangle: it needs at least 3 corners");
      if (report.collect) face_places.resize(mesh->triangles.size(), report.reading.back());
    } else if (report.collect) {
      reportUnrecognisedMeshLine(report, line, true);
    }
  }
  std::fclose(file);
  // Faces may name vertices defined further down, so corners are checked only now.
  auto& triangles = mesh->triangles;
  const size_t count = mesh->vertices.size();
  if (report.collect) reportDroppedFaces(report, *mesh, face_places);
  triangles.erase(
      std::remove_if(triangles.begin(), triangles.end(),
                     [count](const MeshTriangle& t) { return !namesVertices(t, count); }),
      triangles.end());
  return mesh;
}

const Mesh* getMesh(Scene& scene, const std::string& path, Reporter& report) {
  auto found = scene.meshes.find(path);
  if (found != scene.meshes.end()) return found->second.get();
  // Many spellings of one large file's path would each read it again.
  if (scene.mesh_items > kMaxMeshItems) {
    scene.meshes_cut = true;
    return nullptr;
  }
  std::shared_ptr<const Mesh> mesh = loadMesh(path, report);
  if (mesh) scene.mesh_items += mesh->vertices.size() + mesh->triangles.size();
  return scene.meshes.emplace(path, std::move(mesh)).first->second.get();
}

std::string meshPath(const Scene& scene, const Mesh* mesh) {
  for (const auto& [path, loaded] : scene.meshes)
    if (loaded.get() == mesh) return path;
  return "";
}
