#include "app/watch.h"

#include <GL/glut.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "app/frame_loop.h"
#include "app/state.h"
#include "app/stats.h"

namespace {

// Saved in place, replaced by rename, created, deleted: everything but reading and attributes.
constexpr uint32_t kEvents =
    IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr unsigned kPollMs = 20;

void onWatchTimer(int) {
  glutTimerFunc(kPollMs, onWatchTimer, 0);
  if (reloadDue(g_app.watch, nowSeconds())) resetScene(g_app);
}

}  // namespace

std::pair<std::string, std::string> splitPath(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

bool openWatch(Watch& watch) {
  watch.fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  return watch.fd >= 0;
}

void watchFiles(Watch& watch, const std::vector<std::string>& paths) {
  watch.files.clear();
  if (watch.fd < 0) return;
  for (const std::string& path : paths) {
    // A missing folder is waited for in the nearest folder above it that exists.
    for (auto part = splitPath(path); !part.second.empty(); part = splitPath(part.first)) {
      // Adding a folder again gives its descriptor again, or a new one for a new folder there.
      const int wd = inotify_add_watch(watch.fd, part.first.c_str(), kEvents | IN_ONLYDIR);
      if (wd >= 0) {
        watch.files.insert({wd, part.second});
        break;
      }
      if (part.first == "." || part.first == "/") break;
    }
  }
}

bool reloadDue(Watch& watch, double now) {
  alignas(inotify_event) char buffer[4096];
  for (ssize_t got; watch.fd >= 0 && (got = read(watch.fd, buffer, sizeof buffer)) > 0;) {
    for (char* p = buffer; p < buffer + got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(p);
      p += sizeof(inotify_event) + event->len;
      const bool overflow = event->mask & IN_Q_OVERFLOW;  // events were lost: maybe ours
      if (!overflow && (event->len == 0 || !watch.files.count({event->wd, event->name}))) continue;
      if (watch.first_change < 0) watch.first_change = now;
      watch.last_change = now;
    }
  }
  if (watch.last_change < 0) return false;
  if (now - watch.last_change < kWatchQuiet && now - watch.first_change < kWatchLongest)
    return false;
  watch.first_change = watch.last_change = -1.0;
  return true;
}

void reportReset(AppState& app) {
  if (!app.options.watch) return;
  const Reporter& findings = app.findings;
  watchFiles(app.watch, findings.opened);
  std::fflush(stdout);
  printDiagnostics(findings, stderr);
  const int warnings = warningCount(findings);
  const char* file = app.options.scene_file;
  if (!app.poses.scene) {
    std::fprintf(stderr, "quillmoor --watch: cannot read the scene file '%s'\n", file);
  } else {
    std::fprintf(stderr, "quillmoor --watch: %d warning%s in '%s'\n", warnings,
                 warnings == 1 ? "" : "s", file);
  }
}

void prepareWatch(AppState& app) {
  app.options.watch = true;
  if (!openWatch(app.watch))
    std::fprintf(stderr, "quillmoor --watch: cannot watch files (inotify: errno %d)\n", errno);
}

void armWatchTimer() { glutTimerFunc(kPollMs, onWatchTimer, 0); }
