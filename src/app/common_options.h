#pragma once
// Options every Quillmoor program shares: -C DIR (as in make, git and tar) and --version.
// They are taken out of the argument vector before the program reads its own options, so
// without them the program sees exactly the command line it always saw.
#include <initializer_list>
#include <string>
#include <vector>

extern const char* const kQuillmoorVersion;

// How a program reads its own options, so that shared ones are found only where they stand
// as options: the argument after a value option is its value, whatever it looks like, and
// nothing is read after a stop option (a help option that ends reading).
struct OptionSyntax {
  std::initializer_list<const char*> value_options;
  std::initializer_list<const char*> stop_options;
};

struct CommonOptions {
  std::vector<std::string> directories;  // each -C in order; relative ones build on the last
  bool version = false;
  std::string error;  // a malformed shared option; empty when all is well
};

// Removes "-C DIR", "-CDIR" and "--version" from argv (lowering *argc) and returns them.
CommonOptions takeCommonOptions(int* argc, char** argv, const OptionSyntax& syntax);

// Changes into each directory in turn. On failure prints "PROGRAM: cannot change to
// directory 'DIR': REASON" on standard error and returns false.
bool enterDirectories(const std::vector<std::string>& directories, const char* program);

// The whole handling for a program: takes the shared options out of argv, prints
// "PROGRAM VERSION" and exits 0 for --version, changes directory, and exits 2 with a message
// on standard error for a malformed option or a directory that cannot be entered.
void handleCommonOptions(int* argc, char** argv, const char* program, const OptionSyntax& syntax);
