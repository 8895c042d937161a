#pragma once
// Shared by every test executable: a scratch folder per test, files in it, table cells split into
// words, what a space holds, and (where the app is linked) scenes loaded as a reset loads them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

// Makes a fresh folder under /tmp the working one (scene, mesh and material paths are read
// relative to it) and removes it with everything in it at the end.
struct Scratch {
  Scratch() {
    char pattern[] = "/tmp/quillmoor-test-XXXXXX";
    std::filesystem::current_path(path = mkdtemp(pattern) ? pattern : "");  // throws on failure
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::current_path("/tmp", ignored);
    std::filesystem::remove_all(path, ignored);
  }
  std::string path;
};

inline void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}
inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
inline std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), {}};
}

// A golden file: compared with what a test got, or, with QUILLMOOR_REGEN set in the
// environment (scripts/regen-goldens.sh), written anew from it.
inline bool regenerating() { return std::getenv("QUILLMOOR_REGEN") != nullptr; }
inline void expectGolden(const std::string& path, const std::string& got) {
  if (regenerating())
    writeFile(path, got);
  else
    EXPECT_EQ(got, readFile(path)) << path;
}

// The bodies, shapes or constraints of a space in the order they were added, e.g.
// all<cpBody>(space, cpSpaceEachBody).
template <typename T, typename Space, typename Each>
std::vector<T*> all(Space* space, Each each) {
  std::vector<T*> out;
  each(
      space, [](T* item, void* list) { static_cast<std::vector<T*>*>(list)->push_back(item); },
      &out);
  return out;
}

#if __has_include("app/state.h")  // only the app's tests link the reset
#include "app/frame_loop.h"
#include "app/state.h"
#include "world/physics.h"

class ScratchDir : public testing::Test {
 protected:
  // Before any space is made, so the library's banner never reaches captured output.
  ScratchDir() { initPhysics(); }
  void TearDown() override { releaseWorld(app_); }

  // Writes the scene text to scene.txt and loads it as a reset does. Returns the new scene
  // (nullptr when the file cannot be opened); output_ holds what was printed.
  const Scene* load(const std::string& text) {
    writeFile("scene.txt", text);
    return loadFile("scene.txt");
  }
  const Scene* loadFile(const char* path) {
    app_.options.scene_file = path;
    testing::internal::CaptureStdout();
    resetWorld(app_);
    output_ = testing::internal::GetCapturedStdout();
    return world().scene.get();
  }
  World& world() { return *app_.worker.world(); }
  cpSpace* space() { return world().space; }
  cpBody* body(const char* name) { return world().of(*world().scene->objects.at(name)).body; }

  Scratch scratch_;
  AppState app_;  // the current world of the last load, released at the end
  std::string output_;
};
#endif
