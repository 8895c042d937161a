#pragma once
// The app-level fixture: scenes written into the test's scratch folder and loaded through the
// reset's own code, with their standard output captured.
#include <chipmunk/chipmunk.h>
#include <gtest/gtest.h>

#include <string>

#include "app/frame_loop.h"
#include "app/state.h"
#include "scratch.h"
#include "world/mesh.h"
#include "world/physics.h"

class ScratchDir : public testing::Test {
 protected:
  // Before any space is made, so the library's banner never reaches captured output.
  ScratchDir() { initPhysics(); }
  void TearDown() override { releaseWorld(app_); }

  // Writes the scene text to scene.txt and loads it as a reset does. Returns the new scene
  // (nullptr when the file cannot be opened); output_ holds what was printed.
  Scene* load(const std::string& text) {
    writeFile("scene.txt", text);
    return loadFile("scene.txt");
  }

  Scene* loadFile(const char* path) {
    app_.scene_file = path;
    testing::internal::CaptureStdout();
    resetWorld(app_);
    output_ = testing::internal::GetCapturedStdout();
    return app_.scene.get();
  }

  cpSpace* space() const { return app_.space; }

  Scratch scratch_;
  AppState app_;  // the current space and scene of the last load, released at the end
  std::string output_;
};
