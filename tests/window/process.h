#pragma once
// Helpers for the window tests: child processes, polling, files and pictures.
#include <sys/types.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// Polls `done` until it holds (true) or the time is up (false).
inline bool eventually(const std::function<bool()>& done, double seconds = 10) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(5)))
    if (std::chrono::steady_clock::now() > end) return false;
  return true;
}

inline void writeFile(const std::string& name, const std::string& text) {
  std::ofstream(name) << text;
}
inline std::string readFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A program (searched in PATH) writing its stdout and stderr to files of its own, which can be
// read while it runs; killed at the end if still running.
struct Background {
  explicit Background(std::vector<std::string> argv);
  Background(const Background&) = delete;
  ~Background();
  std::string out() const { return readFile(files + ".out"); }
  std::string err() const { return readFile(files + ".err"); }
  bool running();  // once it has ended, `status` is its exit status (-1 after a signal)
  bool waitFor(const std::string& text) {
    return eventually([&] { return out().find(text) != std::string::npos; });
  }
  bool waitExit(double seconds = 10) {
    return eventually([&] { return !running(); }, seconds);
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
// Runs a program to its end, killed after 20 s (status -1); `display` false unsets DISPLAY.
RunResult run(std::vector<std::string> argv, bool display = true);

// Makes a fresh directory under /tmp the current one, holding red, green, blue and grey (0.3)
// meshes: 100 x 100 squares centred on their origins. Removed with everything in it at the end.
struct TempDir {
  TempDir();
  ~TempDir() {
    std::error_code e;
    std::filesystem::current_path("/tmp", e);
    std::filesystem::remove_all(path, e);
  }
  std::string path;
};

struct Pixel {
  int r, g, b;
};
struct Image {  // 8-bit RGB rows, top row first
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  Pixel at(int x, int y) const {
    auto p = &rgb.at((size_t(y) * width + x) * 3);
    return {p[0], p[1], p[2]};
  }
};
Image readPng(const std::string& path);  // any PNG as 8-bit RGB; empty when it cannot be read
