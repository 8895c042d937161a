#include "world/mesh.h"

#include <algorithm>
#include <climits>
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
      float x = 0.0f, unused = 0.0f, y = 0.0f;
      std::sscanf(line, "v %f %f %f", &x, &unused, &y);
      mesh->vertices.push_back(cpv(x, y));
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
