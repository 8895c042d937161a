#include "scene/diagnostics.h"

#include <algorithm>
#include <cmath>

void warnAt(Diagnostics* diag, const Place& place, const std::string& text) {
  if (diag) diag->list.push_back({place, Severity::Warning, text});
}

void noteAt(Diagnostics* diag, const Place& place, const std::string& text) {
  if (diag) diag->list.push_back({place, Severity::Note, text});
}

void warn(Diagnostics* diag, const std::string& text) {
  if (!diag || diag->reading.empty()) return;
  const auto& reading = diag->reading;
  warnAt(diag, reading.back(), text);
  // A problem inside a mesh or material file is only found through the line that named it.
  for (size_t i = reading.size() - 1; i > 0; --i)
    noteAt(diag, reading[i - 1], "'" + reading[i].file + "' was read for this line");
}

void warnItem(Diagnostics* diag, const void* item, const char* keyword, const std::string& text) {
  if (!diag) return;
  auto set = diag->set_at.find({item, keyword});
  if (set != diag->set_at.end()) return warnAt(diag, set->second, text);
  auto declared = diag->declared.find(item);
  warnAt(diag, declared != diag->declared.end() ? declared->second : Place{}, text);
}

void noteOpened(Diagnostics* diag, const std::string& path) {
  if (diag && std::find(diag->opened.begin(), diag->opened.end(), path) == diag->opened.end())
    diag->opened.push_back(path);
}

std::string objectName(const Diagnostics* diag, const void* object) {
  if (!diag || !object) return "an object";
  auto found = diag->names.find(object);
  return found == diag->names.end() ? "an object" : "'" + found->second + "'";
}

void printDiagnostics(const Diagnostics& diag, std::FILE* out) {
  for (const Diagnostic& d : diag.list) {
    const char* kind = d.severity == Severity::Warning ? "warning" : "note";
    if (d.place.line > 0) {
      std::fprintf(out, "%s:%d: %s: %s\n", d.place.file.c_str(), d.place.line, kind,
                   d.text.c_str());
    } else {
      std::fprintf(out, "%s: %s: %s\n", d.place.file.c_str(), kind, d.text.c_str());
    }
  }
}

int warningCount(const Diagnostics& diag) {
  return static_cast<int>(std::count_if(diag.list.begin(), diag.list.end(), [](const auto& d) {
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
