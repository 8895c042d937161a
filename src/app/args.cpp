#include "app/args.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

// The options that switch something on.
const struct {
  const char* name;
  bool Arguments::*flag;
} kFlags[] = {{"--fullscreen", &Arguments::fullscreen}, {"--stats", &Arguments::stats},
              {"--watch", &Arguments::watch},           {"--debug", &Arguments::debug},
              {"--interactive", &Arguments::interactive}};

bool isHelp(const char* arg) {
  for (const char* option : kViewerSyntax.stop_options)
    if (std::strcmp(arg, option) == 0) return true;
  return false;
}

}  // namespace

Arguments readArguments(int argc, char** argv, const char* scene_file) {
  Arguments args{scene_file};
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    for (const auto& option : kFlags)
      if (std::strcmp(arg, option.name) == 0) args.*option.flag = true;
    if (std::strcmp(arg, "--scene") == 0) {
      if (i + 1 < argc) args.scene_file = argv[i + 1];
      ++i;
    } else if (isHelp(arg)) {
      args.help_option = arg;
      break;
    }
  }
  return args;
}

std::vector<std::string> viewerOptions() {
  std::vector<std::string> names{"-C", "--version"};
  for (const auto& option : kFlags) names.push_back(option.name);
  for (const char* name : kViewerSyntax.value_options) names.push_back(name);
  for (const char* name : kViewerSyntax.stop_options) names.push_back(name);
  return names;
}

void printUsage(const char* help_option) {
  std::printf("Unrecognized command line parameter: '%s'\n", help_option);
  std::printf("\n");
  std::printf("List of parameters:\n");
  std::printf("   --fullscreen\n");
  std::printf("   --scene <scene_file_name>\n");
}
