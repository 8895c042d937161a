#pragma once
// Flat-coloured triangle meshes read from a small subset of OBJ, coloured through a small
// subset of MTL.
#include <chipmunk/chipmunk.h>

#include <memory>
#include <string>
#include <vector>

#include "scene/report.h"
#include "scene/scene.h"

struct Color3 {
  float r = 1.0f, g = 1.0f, b = 1.0f;
};

struct MeshTriangle {
  int a = 0, b = 0, c = 0;  // 0-based indices into Mesh::vertices
  Color3 color;
};

// Every triangle of a loaded mesh names three existing vertices: triangles whose corners
// name no vertex are dropped once the whole file has been read, so users may index freely.
struct Mesh {
  std::vector<cpVect> vertices;
  std::vector<MeshTriangle> triangles;
  size_t faces = 0;  // "f " lines read, whether or not they gave a triangle
  // The renderer's copy of the mesh in the graphics driver, made on first draw and released
  // with the mesh, so a reload never draws a stale one.
  mutable std::shared_ptr<void> drawn;
};

// Reads an OBJ-subset file; nullptr when it cannot be opened. Reports its progress and errors,
// and, when diagnostics are collected, what the file does not do as it appears to (dropped faces,
// short vertex lines, unknown materials, missing files).
std::unique_ptr<Mesh> loadMesh(const std::string& path, Reporter& report);

// The numbers of a "v " line as "v %f %f %f" reads them: those it cannot read keep their value.
// Returns what sscanf would: the count read, or EOF when the line ends before the first.
int readVertex(const char* line, float xyz[3]);

// The scene's mesh cache: each path (compared byte-wise, as written) is read at most once
// per scene load, a failed read included. Returns nullptr for a file that could not be read.
const Mesh* getMesh(Scene& scene, const std::string& path, Reporter& report);

// The path a scene read a mesh from; "" for one it did not read.
std::string meshPath(const Scene& scene, const Mesh* mesh);
