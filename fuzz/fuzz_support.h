#pragma once
// Shared by the fuzz targets: a private working directory (the readers open every path
// relative to it) and the input cut into the files a scene refers to.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fuzz {

inline std::string& workDir() {
  static std::string dir;
  return dir;
}

inline void removeWorkDir() {
  std::error_code error;
  std::filesystem::remove_all(workDir(), error);
  if (error) std::fprintf(stderr, "cannot remove %s\n", workDir().c_str());
}

// Moves into a fresh temporary directory for the whole run and silences standard output,
// where the readers report progress.
inline void enterWorkDir() {
  char pattern[] = "/tmp/quillmoor-fuzz-XXXXXX";
  if (!mkdtemp(pattern) || chdir(pattern) != 0) std::abort();
  workDir() = pattern;
  std::atexit(removeWorkDir);
  if (!std::freopen("/dev/null", "w", stdout)) std::abort();
}

// Writes the parts of the input separated by lines "===" into the named files, in order;
// files without a part are written empty, so every name exists.
inline void writeParts(const uint8_t* data, size_t size, const std::vector<const char*>& names) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string separator = "\n===\n";
  size_t start = 0;
  for (const char* name : names) {
    size_t end = start <= input.size() ? input.find(separator, start) : std::string::npos;
    if (end == std::string::npos) end = input.size();
    const std::string part = start < input.size() ? input.substr(start, end - start) : "";
    FILE* file = std::fopen(name, "wb");
    if (!file) std::abort();
    std::fwrite(part.data(), 1, part.size(), file);
    std::fclose(file);
    start = end + separator.size();
  }
}

}  // namespace fuzz
