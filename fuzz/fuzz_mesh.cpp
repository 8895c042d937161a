// The OBJ and MTL readers. Besides sanitizer reports, a loaded mesh whose triangles name
// vertices that do not exist is a finding, as is a mesh read differently with diagnostics, and
// a vertex line the fast reader reads otherwise than "v %f %f %f" does.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "fuzz_support.h"
#include "scene/report.h"
#include "world/mesh.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::enterWorkDir();
  return 0;
}

// Input: OBJ text, then optionally "\n===\n" and the MTL text of m.mtl.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::writeParts(data, size, {"m.obj", "m.mtl"});
  // Read plainly, and again with the diagnostics the checker collects: both must agree.
  Reporter plain, diag;
  diag.collect = true;
  const std::unique_ptr<Mesh> mesh = loadMesh("m.obj", plain);
  const std::unique_ptr<Mesh> checked = loadMesh("m.obj", diag);
  if (!mesh || !checked || checked->triangles.size() != mesh->triangles.size()) std::abort();
  printDiagnostics(diag, stdout);
  const auto count = static_cast<int>(mesh->vertices.size());
  for (const MeshTriangle& t : mesh->triangles)
    if (t.a < 0 || t.b < 0 || t.c < 0 || t.a >= count || t.b >= count || t.c >= count) std::abort();
  std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
  for (std::string line; std::getline(lines, line);) {
    if (line[0] != 'v') continue;  // as the reader calls it
    float ours[3] = {7, 7, 7}, theirs[3] = {7, 7, 7};
    if (readVertex(line.c_str(), ours) !=
            std::sscanf(line.c_str(), "v %f %f %f", &theirs[0], &theirs[1], &theirs[2]) ||
        std::memcmp(ours, theirs, sizeof ours) != 0)
      std::abort();
  }
  return 0;
}
