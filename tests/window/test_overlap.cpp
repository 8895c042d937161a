// The snapshot tool's --overlap, the viewer's own tick without --debug: each picture shows the
// bodies one tick behind the plain ticks', and mouse pushes still act between the same steps.
#include "process.h"

namespace {

// A falling box and a bob swinging down on a rope: every tick after the first few moves both.
const char kScene[] =
    "scene_gravity 0 500\nscene_step_iterations 4\nscene_mouse_impulse_force 0.01\n"
    "new_obj box\nobj_mesh red.obj\nobj_col_mesh red.obj\nobj_pos 300 150\n"
    "new_obj bob\nobj_mesh green.obj\nobj_col_mesh green.obj\nobj_scale 0.3\nobj_pos 850 200\n"
    "new_rope\nrope_obj_a bob\nrope_anchor_b 650 200\nrope_approx_seg_len 40\n";

// The pixels of the picture the actions end with.
std::vector<unsigned char> shot(const std::string& actions) {
  writeFile("scene.txt", kScene);
  EXPECT_EQ(run(QUILLMOOR_SNAPSHOT " " + actions + " --out out.png").status, 0) << actions;
  return Image("out.png").rgb;
}

TEST(Overlap, DrawsTheBodiesOneTickBehind) {
  Scratch scratch;
  copyPaints();
  for (int n : {12, 40}) {  // the scene moves every tick, so one tick shows
    const auto before = shot("--ticks " + std::to_string(n - 1));
    EXPECT_FALSE(before == shot("--ticks " + std::to_string(n))) << n;
    EXPECT_TRUE(shot("--overlap --ticks " + std::to_string(n)) == before) << n;
  }
  // --debug draws from the space, which an overlapped step may hold.
  const RunResult both = run(QUILLMOOR_SNAPSHOT " --debug --overlap --out out.png");
  EXPECT_EQ(both.status, 2);
  EXPECT_NE(both.err.find("--overlap cannot go with --debug"), std::string::npos) << both.err;
}

TEST(Overlap, MousePushActsBetweenTheSameTwoSteps) {
  Scratch scratch;
  copyPaints();
  // The first motion, beside the box, only sets where the next one is measured from; the
  // second lands on the box while the 10th step runs, and pushes it right after that step.
  const std::string push = "--move 150,160 --move 300,160";
  const auto plain = shot("--ticks 10 " + push + " --ticks 14");
  EXPECT_FALSE(plain == shot("--ticks 24"));  // the push moved something
  EXPECT_TRUE(shot("--overlap --ticks 10 " + push + " --ticks 15") == plain);
}

}  // namespace
