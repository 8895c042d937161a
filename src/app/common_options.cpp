#include "app/common_options.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef QUILLMOOR_VERSION
#error "QUILLMOOR_VERSION comes from the build (the project version in CMakeLists.txt)"
#endif

const char* const kQuillmoorVersion = QUILLMOOR_VERSION;

namespace {

bool isOneOf(const char* arg, std::initializer_list<const char*> options) {
  for (const char* option : options)
    if (std::strcmp(arg, option) == 0) return true;
  return false;
}

}  // namespace

CommonOptions takeCommonOptions(int* argc, char** argv, const OptionSyntax& syntax) {
  CommonOptions common;
  int kept = 1;
  for (int i = 1; i < *argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--version") == 0) {
      common.version = true;
    } else if (std::strcmp(arg, "-C") == 0) {
      if (i + 1 < *argc) {
        common.directories.push_back(argv[++i]);
      } else {
        common.error = "-C needs a directory";
      }
    } else if (std::strncmp(arg, "-C", 2) == 0) {
      common.directories.push_back(arg + 2);
    } else {
      argv[kept++] = argv[i];
      if (isOneOf(arg, syntax.value_options) && i + 1 < *argc) {
        argv[kept++] = argv[++i];
      } else if (isOneOf(arg, syntax.stop_options)) {
        while (++i < *argc) argv[kept++] = argv[i];
      }
    }
  }
  argv[kept] = nullptr;  // argv[argc] stays a null pointer, as the C runtime hands it over
  *argc = kept;
  return common;
}

bool enterDirectories(const std::vector<std::string>& directories, const char* program) {
  for (const std::string& directory : directories) {
    if (chdir(directory.c_str()) != 0) {
      std::fprintf(stderr, "%s: cannot change to directory '%s': %s\n", program, directory.c_str(),
                   std::strerror(errno));
      return false;
    }
  }
  return true;
}

void handleCommonOptions(int* argc, char** argv, const char* program, const OptionSyntax& syntax) {
  const CommonOptions common = takeCommonOptions(argc, argv, syntax);
  if (!common.error.empty()) {
    std::fprintf(stderr, "%s: %s\n", program, common.error.c_str());
    std::exit(2);
  }
  if (common.version) {
    std::printf("%s %s\n", program, kQuillmoorVersion);
    std::exit(0);
  }
  if (!enterDirectories(common.directories, program)) std::exit(2);
}
