// The physics must not change behind our back: a speed-up of the step has to leave every body
// where the old code left it, to the last bit.
#include <cstdint>
#include <cstring>

#include "test_support.h"
#include "world/physics.h"

namespace {

// FNV-1a over the bytes of every body's position, angle and velocities.
uint64_t stateHash(cpSpace* space) {
  uint64_t h = 1469598103934665603ull;
  for (cpBody* b : all<cpBody>(space, cpSpaceEachBody))
    for (double d : {cpBodyGetPosition(b).x, cpBodyGetPosition(b).y, cpBodyGetAngle(b),
                     cpBodyGetVelocity(b).x, cpBodyGetVelocity(b).y, cpBodyGetAngularVelocity(b)}) {
      unsigned char bytes[sizeof d];
      std::memcpy(bytes, &d, sizeof d);
      for (unsigned char byte : bytes) h = (h ^ byte) * 1099511628211ull;
    }
  return h;
}

// Triangles dropped in a staggered heap onto a floor: many contacts, some bouncing.
std::string pileScene(int count) {
  std::string s =
      "scene_gravity 0 500\nscene_step_iterations 2\nnew_obj floor\nobj_mass 0\nobj_pos 0 740\n"
      "obj_col_line 0 0 1024 0 5\nobj_friction 0.8\n";
  for (int i = 0; i < count; ++i)
    s += "new_obj t" + std::to_string(i) + "\nobj_col_mesh tri.obj\nobj_mesh tri.obj\nobj_pos " +
         std::to_string(300 + (i % 12) * 36 + (i / 12) % 2 * 9) + " " +
         std::to_string(700 - (i / 12) * 40) + "\nobj_friction 0.6\nobj_bounciness 0.3\n";
  return s;
}

}  // namespace

class Determinism : public ScratchDir {};

TEST_F(Determinism, BodiesEndBitForBitWhereTheyDidBefore) {
  ASSERT_EQ(std::system("cp -r '" QUILLMOOR_SOURCE_DIR "/demo/.' ."), 0);
  writeFile("tri.obj", "v -15 0 -12\nv 15 0 -12\nv 0 0 14\nf 1 2 3\n");
  writeFile("pile.txt", pileScene(96));
  const struct {
    const char* file;
    int ticks;
    uint64_t hash;
  } cases[] = {
      {"scene.txt", 400, 10950519248455266604ull},
      {"pile.txt", 300, 17953773053854096123ull},
  };
  for (const auto& c : cases) {
    ASSERT_NE(loadFile(c.file), nullptr) << c.file;
    const TickPlan plan = planTick(app_.scene.get());
    for (int i = 0; i < c.ticks; ++i) stepSpace(space(), plan.substeps, plan.dt);
    EXPECT_EQ(stateHash(space()), c.hash) << c.file;
  }
}
