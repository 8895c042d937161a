#pragma once
// What the mesh and material readers report when given a diagnostics record.
#include <string>
#include <vector>

#include "scene/diagnostics.h"

struct Mesh;

// Counts the physical lines of the file being read into the innermost reading place. Given a
// path, it opens a new innermost place for that file and closes it when it goes.
class LineCounter {
 public:
  explicit LineCounter(Diagnostics* diag, const std::string& path = "");
  ~LineCounter();
  LineCounter(const LineCounter&) = delete;
  LineCounter& operator=(const LineCounter&) = delete;
  bool* whole() { return diag_ ? &whole_ : nullptr; }  // for readLine
  void next(const char* line);                         // after each read; reports long lines
 private:
  Diagnostics* diag_;
  bool pushed_ = false;
  bool whole_ = true;
  bool continued_ = false;
};

// A missing mesh or material file; when it exists relative to the scene file's folder, says
// that paths are read from the working directory and how to run the scene.
void reportMissingFile(Diagnostics* diag, const std::string& message, const std::string& path);

// Tabs and doubled spaces between a face's corners.
void reportFaceLine(Diagnostics* diag, const char* corners);

// Faces whose triangles name a vertex the file does not have; `places` runs parallel to the
// mesh's triangles, before they are dropped.
void reportDroppedFaces(Diagnostics* diag, const Mesh& mesh, const std::vector<Place>& places);

// A mesh (obj) or material line that looks meant as a keyword line but is not recognised.
void reportUnrecognisedMeshLine(Diagnostics* diag, const char* line, bool obj);
