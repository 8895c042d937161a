#include "world/mesh_check.h"

#include <cstring>

#include "scene/line_check.h"
#include "scene/line_reader.h"
#include "world/mesh.h"

namespace {

// A warning at `place` inside the file being read, with the notes of the lines that led there.
void warnInside(Reporter& report, const Place& place, const std::string& text) {
  const Place current = report.reading.back();
  report.reading.back() = place;
  warn(report, text);
  report.reading.back() = current;
}

}  // namespace

LineCounter::LineCounter(Reporter& report, const std::string& path, TextForm form)
    : report_(report), collect_(report.collect), form_(form) {
  if (report_.collect && !path.empty()) {
    report_.reading.push_back({path, 0});
    pushed_ = true;
  }
  if (reportTextForm(report_, form_)) report_.collect = false;
}

LineCounter::~LineCounter() {
  report_.collect = collect_;
  if (pushed_) report_.reading.pop_back();
}

void LineCounter::next(const char* line) {
  if (!report_.collect) return;
  if (!continued_) {
    ++report_.reading.back().line;
    // A file of CR line ends has been told as a whole.
    if (!whole_ && form_ == TextForm::Plain && !isCommentOrBlank(line))
      warn(report_,
           "line is longer than 1023 bytes: it is read in parts of 1023, each handled as "
           "a line of its own");
  }
  continued_ = !whole_;
}

void missingFile(Reporter& report, const char* kind, const std::string& path) {
  problem(report, std::string(kind) + " FILE NOT FOUND! ('" + path + "')");
  if (!report.collect || report.scene_folder.empty() || report.reading.empty() || path.empty() ||
      path[0] == '/')
    return;
  FILE* beside = openTextFile((report.scene_folder + path).c_str());
  if (!beside) return;
  std::fclose(beside);
  std::string folder = report.scene_folder;
  if (folder.size() > 1) folder.pop_back();  // "demo/" -> "demo"
  noteAt(report, report.reading.back(),
         "'" + path + "' exists in the scene file's folder, but paths are read from the " +
             "working directory: run from that folder (cd " + folder + ") or with -C " + folder);
}

void reportFaceLine(Reporter& report, const char* corners) {
  if (std::strchr(corners, '\t'))
    warn(report,
         "tab inside a face line: the corner after a tab is skipped and the face goes on "
         "at the next space (separate corners with single spaces)");
  if (std::strstr(corners, "  "))
    warn(report, "two spaces in a row inside a face line: the corner after them is read twice");
}

void reportDroppedFaces(Reporter& report, const Mesh& mesh, const std::vector<Place>& places) {
  const long count = static_cast<long>(mesh.vertices.size());
  int last_line = 0;
  for (size_t i = 0; i < mesh.triangles.size() && i < places.size(); ++i) {
    const MeshTriangle& t = mesh.triangles[i];
    for (int index : {t.a, t.b, t.c}) {
      // Corner numbers of 0 or below were reported as they were read.
      if (index < count || places[i].line == last_line) continue;
      last_line = places[i].line;
      warnInside(report, places[i],
                 "face names vertex " + std::to_string(index + 1L) + ", but the file has " +
                     std::to_string(count) + ": the triangles with it are dropped");
    }
  }
}

void reportUnrecognisedMeshLine(Reporter& report, const char* line, bool obj) {
  static const std::vector<KeywordInfo> obj_keywords = {
      {"mtllib", false, true}, {"usemtl", false, true}, {"v", false, true}, {"f", false, true}};
  static const std::vector<KeywordInfo> mtl_keywords = {{"newmtl", false, true},
                                                        {"Kd", false, true}};
  const std::string problem =
      unrecognisedLineProblem(line, obj ? obj_keywords : mtl_keywords, false);
  if (!problem.empty()) warn(report, problem);
}
