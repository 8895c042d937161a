#pragma once
// --watch: the scene reloads when a file the last reload opened (or tried to) changes on disk.
// inotify on the files' folders, read without blocking from a timer of the event loop.
#include <set>
#include <string>
#include <utility>
#include <vector>

struct AppState;

struct Watch {
  int fd = -1;                                     // the inotify instance; -1 when not watching
  std::set<std::pair<int, std::string>> files;     // (descriptor, name in that folder)
  double first_change = -1.0, last_change = -1.0;  // seconds; -1: no change pending
};

// The burst of events one save makes is over once this long passes without another; a file
// rewritten without pause still reloads once per kWatchLongest.
constexpr double kWatchQuiet = 0.1;
constexpr double kWatchLongest = 1.0;

// Folder and name of a path as the files are opened: "a.obj" is (".", "a.obj").
std::pair<std::string, std::string> splitPath(const std::string& path);

bool openWatch(Watch& watch);

// Watches exactly these files from now on; for a missing folder, the nearest one above it.
void watchFiles(Watch& watch, const std::vector<std::string>& paths);

// Takes in what happened since the last call; true once a watched file changed and its burst
// is over, when the reload is due.
bool reloadDue(Watch& watch, double now);

// After every reset with --watch: the diagnostics on standard error, the new files watched.
void reportReset(AppState& app);

// Starts watching for the viewer: the diagnostics record and inotify before the first reset,
// then a timer of its own that polls.
void prepareWatch(AppState& app);
void armWatchTimer();
