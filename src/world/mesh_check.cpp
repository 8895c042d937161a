#include "world/mesh_check.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
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

bool isFile(const std::string& path) {
  FILE* file = openTextFile(path.c_str());
  if (file) std::fclose(file);
  return file != nullptr;
}

// The path of a file below `folder` ("" or ending in '/') that `path` names when '\' reads
// as '/' and each name may differ in case from the one in its folder; "" when there is none,
// or when it is `path` itself.
std::string nearPath(const std::string& folder, const std::string& path) {
  std::string rest = path, found;
  std::replace(rest.begin(), rest.end(), '\\', '/');
  for (size_t start = 0;;) {
    const size_t end = std::min(rest.find('/', start), rest.size());
    const std::string wanted = rest.substr(start, end - start);
    std::string name = wanted;
    struct stat info;
    if (!wanted.empty() && stat((folder + found + wanted).c_str(), &info) != 0) {
      const std::string here = folder + found;
      DIR* dir = opendir(here.empty() ? "." : here.c_str());
      if (!dir) return "";
      name.clear();
      while (const dirent* entry = name.empty() ? readdir(dir) : nullptr)
        if (strcasecmp(entry->d_name, wanted.c_str()) == 0) name = entry->d_name;
      closedir(dir);
      if (name.empty()) return "";
    }
    found += name;
    if (end == rest.size()) break;
    found += '/';
    start = end + 1;
  }
  return found != path && isFile(folder + found) ? found : "";
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

void missingFile(Reporter& report, const char* kind, const std::string& path,
                 const std::string& more) {
  const std::string line = std::string(kind) + " FILE NOT FOUND! ('" + path + "')";
  if (!report.collect || report.reading.empty() || path.empty()) return problem(report, line, more);
  // Where the file may have been meant from: the working directory, the scene file's folder,
  // and, for a material, the folder of the mesh file that names it. Exact names first.
  const Place& at = report.reading.back();
  const bool relative = path[0] != '/';
  const bool material = std::string(kind) == "MATERIAL";
  const std::string mesh_folder = material ? at.file.substr(0, at.file.rfind('/') + 1) : "";
  const std::string folders[] = {"", relative ? report.scene_folder : "",
                                 relative ? mesh_folder : ""};
  int where = -1;
  std::string found;
  for (int exact = 1; exact >= 0 && where < 0; --exact)
    for (int i = exact; i < 3 && where < 0; ++i) {
      if (i > 0 && folders[i].empty()) continue;
      found = !exact ? nearPath(folders[i], path) : isFile(folders[i] + path) ? path : "";
      if (!found.empty()) where = i;
    }
  const bool near = where >= 0 && where < 2 && found != path;
  problem(report, line, more + (near ? " (did you mean '" + found + "'?)" : ""));
  if (where == 1) {
    std::string folder = report.scene_folder;
    if (folder.size() > 1) folder.pop_back();  // "demo/" -> "demo"
    noteAt(report, at,
           "'" + found + "' exists in the scene file's folder, but paths are read from the " +
               "working directory: run from that folder (cd " + folder + ") or with -C " + folder);
  } else if (where == 2) {
    noteAt(report, at,
           "'" + found + "' is in the folder of '" + at.file + "', but material paths are read " +
               "from the working directory, not from the mesh file's folder: write mtllib " +
               mesh_folder + found);
  }
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
