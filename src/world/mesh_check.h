#pragma once
// What the mesh and material readers report beyond the viewer's own lines.
#include <string>
#include <vector>

#include "scene/line_reader.h"
#include "scene/report.h"

struct Mesh;

// Counts the physical lines of the file being read into the innermost reading place, when
// diagnostics are collected. Given a path, it opens a new innermost place for that file and
// closes it when it goes; given the file's form too, it says when the file is not read as
// written, and says nothing more about a file that reads as fragments.
class LineCounter {
 public:
  explicit LineCounter(Reporter& report, const std::string& path = "",
                       TextForm form = TextForm::Plain);
  ~LineCounter();
  LineCounter(const LineCounter&) = delete;
  LineCounter& operator=(const LineCounter&) = delete;
  bool* whole() { return report_.collect ? &whole_ : nullptr; }  // for readLine
  void next(const char* line);  // after each read; reports long lines
 private:
  Reporter& report_;
  bool pushed_ = false;
  bool collect_;
  TextForm form_;
  bool whole_ = true;
  bool continued_ = false;
};

// "MESH FILE NOT FOUND! ('PATH')" (or MATERIAL), its warning followed by `more`. When the file
// exists relative to the scene file's folder (or, for a material, the mesh file's), a note says
// that paths are read from the working directory and what to do; when a path differing only in
// case or in '\' for '/' names a file, the warning asks whether it was meant.
void missingFile(Reporter& report, const char* kind, const std::string& path,
                 const std::string& more = "");

// Tabs and doubled spaces between a face's corners.
void reportFaceLine(Reporter& report, const char* corners);

// Faces whose triangles name a vertex the file does not have; `places` runs parallel to the
// mesh's triangles, before they are dropped.
void reportDroppedFaces(Reporter& report, const Mesh& mesh, const std::vector<Place>& places);

// A mesh (obj) or material line that looks meant as a keyword line but is not recognised.
void reportUnrecognisedMeshLine(Reporter& report, const char* line, bool obj);
