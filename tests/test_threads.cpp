// The overlapped tick driven hard, on its own so that scripts/test.sh runs it under
// ThreadSanitizer too: steps beside mouse motions and reloads, ending bit for bit where plain
// ticks end. (That the frame beside a step draws the world one tick behind is a picture test.)
#include <filesystem>

#include "app/mouse.h"
#include "test_support.h"

namespace {

// Two boxes on a floor under a sweeping mouse, and a bob swinging on a rope.
const char kScene[] =
    "scene_gravity 0 500\nscene_step_iterations 4\nscene_mouse_impulse_force 0.01\n"
    "new_obj floor\nobj_mass 0\nobj_col_line 0 500 1024 500 5\n"
    "new_obj box\nobj_mesh red.obj\nobj_col_mesh red.obj\nobj_scale 0.5\nobj_pos 300 470\n"
    "new_obj crate\nobj_mesh red.obj\nobj_col_mesh red.obj\nobj_scale 0.5\nobj_pos 330 400\n"
    "new_obj bob\nobj_mesh green.obj\nobj_col_mesh green.obj\nobj_scale 0.3\nobj_pos 850 200\n"
    "new_rope\nrope_obj_a bob\nrope_anchor_b 650 200\nrope_approx_seg_len 20\n";

uint64_t hashOf(AppState& app) { return stateHash(app.worker.world()->space); }

class Threads : public ScratchDir {};

TEST_F(Threads, OverlappedTicksEndWherePlainTicksDo) {
  std::filesystem::copy(QUILLMOOR_SOURCE_DIR "/tests/data/paints", ".");
  load(kScene);    // app_ ticks overlapped, as the viewer's timer does
  AppState plain;  // ticks plainly, reading the same scene.txt
  const auto reload = [](AppState& app) {
    testing::internal::CaptureStdout();
    resetWorld(app);
    testing::internal::GetCapturedStdout();
  };
  reload(plain);
  int pushes = 0;  // motions that changed the plain world: the sweep must hit something
  const auto tick = [&](cpVect point) {
    const TickPlan plan = startStep(app_);
    mouseMoved(app_, point);  // arrives during the step
    stepSpace(plain.worker.world()->space, plan.substeps, plan.dt);
    const uint64_t before = hashOf(plain);
    mouseMoved(plain, point);
    pushes += hashOf(plain) != before;
  };
  for (int round = 0; round < 6 && !HasFailure(); ++round) {
    if (round > 0) {  // reloaded while a step runs: it and the motion queued meanwhile finish
      tick(cpv(300, 460 - round));
      reload(app_), reload(plain);
      EXPECT_TRUE(cpveql(app_.previous_mouse, plain.previous_mouse));
    }
    for (int t = 0; t < 120 && !HasFailure(); ++t)
      tick(cpv(240 + (t * 7 + round * 13) % 150, 440 + t % 50));
    finishStep(app_);
    EXPECT_EQ(hashOf(app_), hashOf(plain)) << "round " << round;
  }
  EXPECT_GT(pushes, 100);
}

}  // namespace
