#pragma once
// Shared by every test executable: a scratch folder per test, files in it, and what a space holds.
#include <unistd.h>

#include <filesystem>
#include <fstream>
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
