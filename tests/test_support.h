#pragma once
// Shared by the window-free tests: a scratch directory per test, files written into it, and
// scenes loaded from it through the reset's own code, with their standard output captured.
#include <chipmunk/chipmunk.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "app/frame_loop.h"
#include "app/state.h"
#include "world/mesh.h"

// Runs each test inside a fresh temporary directory, since scene and mesh paths are read
// relative to the working directory.
class ScratchDir : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillmoor-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    ASSERT_NE(getcwd(previous_, sizeof previous_), nullptr);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
  }
  void TearDown() override {
    releaseWorld(app_);
    ASSERT_EQ(chdir(previous_), 0);
    const std::string command = "rm -rf '" + dir_ + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }

  static void write(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
  }

  // Writes the scene text to `path` and loads it as a reset does. Returns the new scene
  // (nullptr when the file cannot be opened); output_ holds what was printed.
  Scene* load(const std::string& text, const char* path = "scene.txt") {
    write(path, text);
    return loadFile(path);
  }

  Scene* loadFile(const char* path) {
    app_.scene_file = path;
    testing::internal::CaptureStdout();
    resetWorld(app_);
    output_ = testing::internal::GetCapturedStdout();
    return app_.scene.get();
  }

  cpSpace* space() const { return app_.space; }

  AppState app_;  // the current space and scene of the last load, released at the end
  std::string output_;

 private:
  std::string dir_;
  char previous_[4096];
};
