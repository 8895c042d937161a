#include "world/mesh.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include <map>

#include "scene/line_reader.h"

namespace {

bool startsWith(const char* line, const char* keyword) {
  return std::strncmp(line, keyword, std::strlen(keyword)) == 0;
}

// Appends the fan triangles of one "f " line; corners are separated by single spaces.
void readFace(Mesh& mesh, const char* corners, Color3 color) {
  int first = -1, second = -1;
  for (const char* p = corners;;) {
    int number;
    if (!scanInt(p, &number)) return;
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
    if (!p) return;
    ++p;
  }
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
void loadMaterials(MaterialTable& materials, FILE* file) {
  std::string current;
  LineBuffer buffer;
  while (readLine(file, buffer)) {
    // Skips codes 1 to 32 and, as signed bytes, every byte from 128 up (a UTF-8 BOM too).
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
      if (std::sscanf(line, "Kd %f %f %f", &r, &g, &b) == 3) materials[current] = {r, g, b};
    }
  }
  std::fclose(file);
}

}  // namespace

void readVertex(const char* line, float xyz[3]) {
  const char* p = line + 1;
  float fast[3];
  if (plainDecimal(p, &fast[0]) && plainDecimal(p, &fast[1]) && plainDecimal(p, &fast[2])) {
    std::copy(fast, fast + 3, xyz);
    return;
  }
  std::sscanf(line, "v %f %f %f", &xyz[0], &xyz[1], &xyz[2]);
}

std::unique_ptr<Mesh> loadMesh(const std::string& path) {
  std::printf("Reading mesh file '%s'..\n", path.c_str());
  FILE* file = openTextFile(path.c_str());
  if (!file) {
    std::printf("MESH FILE NOT FOUND! ('%s')\n", path.c_str());
    return nullptr;
  }
  auto mesh = std::make_unique<Mesh>();
  MaterialTable materials;
  Color3 color;
  LineBuffer line;
  while (readLine(file, line)) {
    LineBuffer word;
    if (startsWith(line, "mtllib ")) {
      if (std::sscanf(line, "mtllib %s", word) != 1) continue;
      std::printf("Reading material file '%s'..\n", word);
      if (FILE* mtl = openTextFile(word)) {
        loadMaterials(materials, mtl);
      } else {
        std::printf("MATERIAL FILE NOT FOUND! ('%s')\n", word);
      }
    } else if (startsWith(line, "usemtl ")) {
      if (std::sscanf(line, "usemtl %s", word) != 1) continue;
      auto found = materials.find(word);
      if (found == materials.end()) {
        std::printf("(material '%s' not found!)\n", word);
      } else {
        color = found->second;
      }
    } else if (startsWith(line, "v ")) {
      // x is the first number, y the third; missing numbers read as 0.
      float xyz[3] = {0.0f, 0.0f, 0.0f};
      readVertex(line, xyz);
      mesh->vertices.push_back(cpv(xyz[0], xyz[2]));
    } else if (startsWith(line, "f ")) {
      readFace(*mesh, line + 2, color);
    }
  }
  std::fclose(file);
  // Faces may name vertices defined further down, so corners are checked only now.
  auto& triangles = mesh->triangles;
  const size_t count = mesh->vertices.size();
  triangles.erase(
      std::remove_if(triangles.begin(), triangles.end(),
                     [count](const MeshTriangle& t) { return !namesVertices(t, count); }),
      triangles.end());
  return mesh;
}

const Mesh* getMesh(Scene& scene, const std::string& path) {
  auto found = scene.meshes.find(path);
  if (found == scene.meshes.end()) found = scene.meshes.emplace(path, loadMesh(path)).first;
  return found->second.get();
}
