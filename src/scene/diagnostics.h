#pragma once
// Where a scene's files do not do what they appear to say. The readers and builders report
// here when given a record (the checker, the viewer's --watch) and stay silent without one.
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

enum class Severity { Warning, Note };

struct Place {
  std::string file;  // as it was opened
  int line = 0;      // from 1; 0: the file as a whole
};

struct Diagnostic {
  Place place;
  Severity severity = Severity::Warning;
  std::string text;
};

struct Diagnostics {
  std::vector<Diagnostic> list;
  // Innermost last: the scene line, then the mesh line it loaded, then the material line.
  std::vector<Place> reading;
  std::string scene_folder;  // of the scene file as named, "" for the working directory
  // Every file the load opened or tried to open, as named, in order, each once.
  std::vector<std::string> opened;
  // Where each declared item (object, joint, rope, or the settings) was declared, and the
  // last line that set each of its fields, by keyword; keyed by the item's address.
  std::map<const void*, Place> declared;
  std::map<const void*, std::string> names;  // objects only
  std::map<std::pair<const void*, std::string>, Place> set_at;
};

// A warning at the innermost place being read, followed by a note for each outer one.
void warn(Diagnostics* diag, const std::string& text);
void warnAt(Diagnostics* diag, const Place& place, const std::string& text);
void noteAt(Diagnostics* diag, const Place& place, const std::string& text);

// A warning about an item, at the line that last set `keyword` for it, else at its declaration.
void warnItem(Diagnostics* diag, const void* item, const char* keyword, const std::string& text);

void noteOpened(Diagnostics* diag, const std::string& path);

// The name an object was declared with, quoted, or "an object" when unknown.
std::string objectName(const Diagnostics* diag, const void* object);

// "FILE:LINE: warning: TEXT" lines, one per entry.
void printDiagnostics(const Diagnostics& diag, std::FILE* out);
int warningCount(const Diagnostics& diag);

// Text helpers shared by the reporters.
std::string formatNumber(double value);
std::string formatPoint(double x, double y);
