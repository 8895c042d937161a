// Reads scene files exactly as the viewer's reset does (same reader, same builders, into a
// world that is never stepped) and lists, in the form compilers use, every place
// where the files do not do what they appear to say.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "app/common_options.h"
#include "scene/report.h"
#include "world/load_scene.h"
#include "world/physics.h"

namespace {

const char kUsage[] =
    "usage: quillmoor-check [-C DIR] [FILE...]\n"
    "\n"
    "Reads each scene FILE (default scene.txt) as the viewer does, with the meshes and\n"
    "materials it names, builds its world without running it, and prints one line per\n"
    "problem on standard output:\n"
    "\n"
    "  FILE:LINE: warning: TEXT\n"
    "  FILE:LINE: note: TEXT      (where a warning came from, or what it refers to)\n"
    "\n"
    "  -C DIR       change to DIR first; mesh paths are read from the working directory\n"
    "  --version    print the version and exit\n"
    "  -h, --help   this text\n"
    "\n"
    "A summary goes to standard error. Exit status: 0 when nothing was reported, 1 when\n"
    "something was, 2 when a FILE cannot be read or the command line is malformed.\n";

[[noreturn]] void usageError(const char* text, const char* arg) {
  std::fprintf(stderr, "quillmoor-check: %s '%s' (try --help)\n", text, arg);
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  handleCommonOptions(&argc, argv, "quillmoor-check", {{}, {"-h", "--help"}});
  std::vector<const char*> files;
  bool options_done = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (options_done || arg[0] != '-' || arg[1] == '\0') {
      files.push_back(arg);
    } else if (std::strcmp(arg, "--") == 0) {
      options_done = true;
    } else if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      usageError("unknown option", arg);
    }
  }
  if (files.empty()) files.push_back("scene.txt");

  initPhysics();
  int warnings = 0, unreadable = 0;
  for (const char* file : files) {
    Reporter report;
    report.print = false;  // the viewer's own lines; the output is the diagnostics
    report.collect = true;
    if (std::filesystem::is_directory(file)) {
      std::fprintf(stderr,
                   "quillmoor-check: '%s' is a folder: to check the scene.txt in it, run "
                   "quillmoor-check -C %s\n",
                   file, file);
      ++unreadable;
      continue;
    }
    if (!loadWorld(file, report)->scene) {
      std::fprintf(stderr, "quillmoor-check: cannot read the scene file '%s'\n", file);
      ++unreadable;
      continue;
    }
    printDiagnostics(report, stdout);
    warnings += warningCount(report);
  }
  std::fflush(stdout);
  std::fprintf(stderr, "quillmoor-check: %d warning%s in %zu file%s%s\n", warnings,
               warnings == 1 ? "" : "s", files.size(), files.size() == 1 ? "" : "s",
               unreadable ? (", " + std::to_string(unreadable) + " not readable").c_str() : "");
  return unreadable ? 2 : warnings ? 1 : 0;
}
