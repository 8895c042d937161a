// The demo and every example under examples/ check clean: no diagnostic (every message the
// reader prints has one). After five seconds of its own ticks (past every gallery picture's
// moment) every body (rope segments too) is within a generous box around the world view. And
// the demo's physics, bit for bit.
#include <algorithm>
#include <filesystem>

#include "test_support.h"

namespace {

std::vector<std::string> sceneFolders() {
  std::vector<std::string> names{"demo"};
  for (const auto& entry : std::filesystem::directory_iterator(QUILLMOOR_SOURCE_DIR "/examples"))
    if (std::filesystem::exists(entry.path() / "scene.txt"))
      names.push_back("examples/" + entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Examples, TheDemoAndAtLeastSeven) { EXPECT_GE(sceneFolders().size(), 8u); }

class Example : public ScratchDir, public testing::WithParamInterface<std::string> {};

TEST_P(Example, ChecksCleanAndStaysInView) {
  std::filesystem::current_path(std::string(QUILLMOOR_SOURCE_DIR "/") + GetParam());
  app_.options.watch = true;
  ASSERT_NE(loadFile("scene.txt"), nullptr) << output_;
  for (const Diagnostic& d : app_.findings.diagnostics)
    ADD_FAILURE() << d.place.file << ":" << d.place.line << ": " << d.text;
  EXPECT_GT(app_.findings.opened.size(), 1u);

  const TickPlan plan = planTick(world());
  for (int tick = 0; tick < 5 * plan.fps; ++tick) stepWorld(world(), plan.substeps, plan.dt);
  const std::vector<cpBody*> bodies = all<cpBody>(space(), cpSpaceEachBody);
  EXPECT_FALSE(bodies.empty());
  for (cpBody* body : bodies) {
    const cpVect p = cpBodyGetPosition(body);  // half a view beyond each edge
    EXPECT_TRUE(p.x > -512 && p.x < 1536 && p.y > -384 && p.y < 1152)
        << "a body at " << p.x << "," << p.y;
  }
}

INSTANTIATE_TEST_SUITE_P(Gallery, Example, testing::ValuesIn(sceneFolders()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           const std::string& name = info.param;
                           return name.substr(name.rfind('/') + 1);
                         });

// A speed-up of the step must leave every body where the old code left it, to the last bit.
// (The benchmark holds its tick scenes to the library's own stepping in the same way.)
TEST_F(ScratchDir, DemoBodiesEndBitForBitWhereTheyDidBefore) {
  std::filesystem::current_path(QUILLMOOR_SOURCE_DIR "/demo");
  ASSERT_NE(loadFile("scene.txt"), nullptr);
  const TickPlan plan = planTick(world());
  for (int i = 0; i < 400; ++i) stepSpace(space(), plan.substeps, plan.dt);
  EXPECT_EQ(stateHash(space()), 10950519248455266604ull);
}

}  // namespace
