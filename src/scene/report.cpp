#include "scene/report.h"

#include <algorithm>
#include <vector>

void say(Reporter& report, const std::string& line) {
  if (report.print) std::printf("%s\n", line.c_str());
}

void problem(Reporter& report, const std::string& line, const std::string& more) {
  say(report, line);
  warn(report, line + more);
}

void warnAt(Reporter& report, const Place& place, const std::string& text) {
  if (report.collect) report.diagnostics.push_back({place, Severity::Warning, text});
}

void noteAt(Reporter& report, const Place& place, const std::string& text) {
  if (report.collect) report.diagnostics.push_back({place, Severity::Note, text});
}

void warn(Reporter& report, const std::string& text) {
  const auto& reading = report.reading;
  if (!report.collect || reading.empty()) return;
  warnAt(report, reading.back(), text);
  // A problem inside a mesh or material file is only found through the line that named it.
  for (size_t i = reading.size() - 1; i > 0; --i)
    noteAt(report, reading[i - 1], "'" + reading[i].file + "' was read for this line");
}

void noteOpened(Reporter& report, const std::string& path) {
  auto& opened = report.opened;
  if (std::find(opened.begin(), opened.end(), path) == opened.end()) opened.push_back(path);
}

namespace {

// Warnings, each with the notes that follow it, by file (the scene, then the others as they
// were opened) and line, as compilers list them; the checks' own order where those tie.
std::vector<const Diagnostic*> sortedDiagnostics(const Reporter& report) {
  const auto& opened = report.opened;
  auto fileRank = [&](const std::string& file) {
    return static_cast<size_t>(std::find(opened.begin(), opened.end(), file) - opened.begin());
  };
  std::vector<std::vector<const Diagnostic*>> groups;
  for (const Diagnostic& d : report.diagnostics) {
    if (d.severity == Severity::Warning || groups.empty()) groups.emplace_back();
    groups.back().push_back(&d);
  }
  std::stable_sort(groups.begin(), groups.end(), [&](const auto& a, const auto& b) {
    const Place &p = a.front()->place, &q = b.front()->place;
    const size_t rank_p = fileRank(p.file), rank_q = fileRank(q.file);
    if (rank_p != rank_q) return rank_p < rank_q;
    if (p.file != q.file) return p.file < q.file;
    return p.line < q.line;
  });
  std::vector<const Diagnostic*> sorted;
  for (const auto& group : groups) sorted.insert(sorted.end(), group.begin(), group.end());
  return sorted;
}

}  // namespace

void printDiagnostics(const Reporter& report, std::FILE* out) {
  for (const Diagnostic* listed : sortedDiagnostics(report)) {
    const Diagnostic& d = *listed;
    const char* kind = d.severity == Severity::Warning ? "warning" : "note";
    if (d.place.line > 0) {
      std::fprintf(out, "%s:%d: %s: %s\n", d.place.file.c_str(), d.place.line, kind,
                   d.text.c_str());
    } else {
      std::fprintf(out, "%s: %s: %s\n", d.place.file.c_str(), kind, d.text.c_str());
    }
  }
}

int warningCount(const Reporter& report) {
  const auto& list = report.diagnostics;
  return static_cast<int>(std::count_if(list.begin(), list.end(), [](const Diagnostic& d) {
    return d.severity == Severity::Warning;
  }));
}

std::string formatNumber(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string formatPoint(double x, double y) {
  return "(" + formatNumber(x) + ", " + formatNumber(y) + ")";
}
