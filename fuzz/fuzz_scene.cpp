// The scene reader with everything after it: the world built, stepped, pushed by the mouse
// and read again with diagnostics. A physics-library abort ends the process with SIGABRT, which
// libFuzzer reports as a deadly signal, so every such input is a finding.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "app/frame_loop.h"
#include "app/mouse.h"
#include "app/state.h"
#include "fuzz_support.h"
#include "world/physics.h"

namespace {

void runTicks(AppState& app, int ticks) {
  World& world = *app.worker.world();
  const TickPlan plan = planTick(world);
  for (int i = 0; i < ticks; ++i) stepWorld(world, plan.substeps, plan.dt);
}

// A push at each of the first few moving bodies, each measured from the world origin.
void pushBodies(AppState& app) {
  const World& world = *app.worker.world();
  if (!world.scene) return;
  int pushed = 0;
  for (const auto& [name, object] : world.scene->objects) {
    cpBody* body = world.of(*object).body;
    if (!body || pushed++ == 3) continue;
    pushAt(app, cpBodyGetPosition(body));
    pushAt(app, cpvzero);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::enterWorkDir();
  initPhysics();
  return 0;
}

// Input: scene text, then optionally "\n===\n" and the files a.obj, b.obj and m.mtl.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::writeParts(data, size, {"s.txt", "a.obj", "b.obj", "m.mtl"});
  AppState app;
  app.options.scene_file = "s.txt";
  resetWorld(app);
  runTicks(app, 3);
  pushBodies(app);
  runTicks(app, 3);
  // The reload reports through diagnostics, as the checker and --watch do.
  app.options.watch = true;
  resetWorld(app);
  printDiagnostics(app.findings, stdout);
  runTicks(app, 1);
  releaseWorld(app);
  return 0;
}
