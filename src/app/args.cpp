#include "app/args.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

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
    if (std::strcmp(arg, "--fullscreen") == 0) {
      args.fullscreen = true;
    } else if (std::strcmp(arg, "--stats") == 0) {
      args.stats = true;
    } else if (std::strcmp(arg, "--scene") == 0) {
      if (i + 1 < argc) args.scene_file = argv[i + 1];
      ++i;
    } else if (std::strcmp(arg, "--watch") == 0) {
      args.watch = true;
    } else if (std::strcmp(arg, "--debug") == 0) {
      args.debug = true;
    } else if (std::strcmp(arg, "--interactive") == 0) {
      args.interactive = true;
    } else if (isHelp(arg)) {
      args.help_option = arg;
      break;
    }
  }
  return args;
}

void printUsage(const char* help_option) {
  std::printf("Unrecognized command line parameter: '%s'\n", help_option);
  std::printf("\n");
  std::printf("List of parameters:\n");
  std::printf("   --fullscreen\n");
  std::printf("   --scene <scene_file_name>\n");
}
