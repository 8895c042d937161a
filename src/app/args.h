#pragma once
// The viewer's command line.
#include <string>
#include <vector>

#include "app/common_options.h"

// The viewer's options that take a value (the window system's -display and -geometry among
// them) and those that ask for help, where reading stops.
inline const OptionSyntax kViewerSyntax{{"--scene", "-display", "-geometry"},
                                        {"-h", "-help", "--help", "-?"}};

struct Arguments {
  const char* scene_file;
  bool fullscreen = false;
  bool watch = false;                 // --watch: reload when the scene's files change
  bool debug = false;                 // --debug: draw the physics over the picture
  bool stats = false;                 // --stats: a report on standard error once a second
  bool interactive = false;           // --interactive: the workbench's keys and buttons
  const char* help_option = nullptr;  // the help option as given; reading stopped there
};

// Every option the viewer takes, shared ones and the window system's included.
std::vector<std::string> viewerOptions();

// Reads the arguments after the program name; unknown ones are skipped silently.
Arguments readArguments(int argc, char** argv, const char* scene_file);

// The usage text, naming the help option that asked for it.
void printUsage(const char* help_option);
