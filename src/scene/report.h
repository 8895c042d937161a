#pragma once
// Everything the readers say goes through one reporter with two sinks: the viewer's own lines
// on standard output, exactly as they have always read, and diagnostics with file and line for
// the checker and --watch, which also tell what the files do not do as they appear to.
#include <cstdio>
#include <string>
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

struct Reporter {
  bool print = true;     // the viewer's lines on standard output
  bool collect = false;  // diagnostics
  std::vector<Diagnostic> diagnostics;
  // Innermost last: the scene line, then the mesh line it loaded, then the material line.
  std::vector<Place> reading;
  std::string scene_folder;  // of the scene file as named, "" for the working directory
  // Every file the load opened or tried to open, as named, in order, each once.
  std::vector<std::string> opened;
};

// A progress line of the viewer's, standard output only ("\n" added).
void say(Reporter& report, const std::string& line);

// A problem the viewer reports: its line on standard output, and a warning of the same words
// followed by `more`, which says what comes of it.
void problem(Reporter& report, const std::string& line, const std::string& more = "");

// A warning at the innermost place being read, followed by a note for each outer one.
void warn(Reporter& report, const std::string& text);
void warnAt(Reporter& report, const Place& place, const std::string& text);
void noteAt(Reporter& report, const Place& place, const std::string& text);

void noteOpened(Reporter& report, const std::string& path);

// "FILE:LINE: warning: TEXT" lines, one per diagnostic.
void printDiagnostics(const Reporter& report, std::FILE* out);
int warningCount(const Reporter& report);

// Text helpers shared by the reporters.
std::string formatNumber(double value);
std::string formatPoint(double x, double y);
