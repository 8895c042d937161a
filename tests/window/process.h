#pragma once
// Helpers for the window tests: child processes, polling and pictures.
#include <png.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <thread>

#include "test_support.h"

// Polls `done` until it holds (true) or the time is up (false).
inline bool eventually(const std::function<bool()>& done, double seconds = 10) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(5)))
    if (std::chrono::steady_clock::now() > end) return false;
  return true;
}

// A program (searched in PATH) writing its stdout and stderr to files of its own, which can be
// read while it runs; killed at the end if still running. Once it has ended, `status` is its
// exit status (-1 after a signal, 127 when it cannot be started).
struct Background {
  explicit Background(std::vector<std::string> argv) {
    static int started = 0;
    files = "process-" + std::to_string(++started);
    std::vector<char*> args;
    for (std::string& arg : argv) args.push_back(arg.data());
    args.push_back(nullptr);
    if ((pid = fork()) == 0) {
      std::freopen((files + ".out").c_str(), "w", stdout);
      std::freopen((files + ".err").c_str(), "w", stderr);
      execvp(args[0], args.data());
      _exit(127);
    }
  }
  ~Background() {
    if (running()) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
  }
  std::string out() const { return readFile(files + ".out"); }
  std::string err() const { return readFile(files + ".err"); }
  bool running() {
    int wstatus = 0;
    if (!exited && waitpid(pid, &wstatus, WNOHANG) == pid)
      exited = true, status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    return !exited;
  }
  bool waitFor(const std::string& text) {
    return eventually([&] { return out().find(text) != std::string::npos; });
  }
  bool waitExit() {
    return eventually([&] { return !running(); }, 20);
  }
  std::string files;
  pid_t pid = -1;
  int status = -1;
  bool exited = false;
};

struct RunResult {
  int status;
  std::string out, err;
};
// Runs a program to its end, killed after 20 s (status -1); arguments apart by blanks.
inline RunResult run(const std::string& command) {
  Background child(words(command));
  child.waitExit();
  return {child.status, child.out(), child.err()};
}

struct Pixel {
  int r, g, b;
};
struct Image {  // 8-bit RGB rows, top row first; empty when the file cannot be read
  explicit Image(const std::string& path) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return;
    png.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) rgb.clear();
    width = png.width, height = png.height;
  }
  Pixel at(int x, int y) const {
    auto p = &rgb.at((size_t(y) * width + x) * 3);
    return {p[0], p[1], p[2]};
  }
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
};

// Red, green, blue and grey (0.3) meshes of 100 x 100 squares centred on their origins, and a
// square and a bar in two colours, copied into the working folder.
inline void copyPaints() { std::filesystem::copy(QUILLMOOR_SOURCE_DIR "/tests/data/paints", "."); }
