// Every example under examples/ loads without a missing file or any other message, and after
// 60 seconds of its own ticks keeps every body (rope segments too) within a generous box around
// the world view and at finite positions.
#include <chipmunk/chipmunk.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/frame_loop.h"
#include "app/state.h"
#include "world/physics.h"

namespace {

std::vector<std::string> exampleNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(QUILLMOOR_SOURCE_DIR "/examples"))
    if (std::filesystem::exists(entry.path() / "scene.txt"))
      names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Examples, AtLeastSeven) { EXPECT_GE(exampleNames().size(), 7u); }

class Example : public testing::TestWithParam<std::string> {};

TEST_P(Example, LoadsCleanlyAndStaysInViewForAMinute) {
  const std::string previous = std::filesystem::current_path();
  std::filesystem::current_path(std::string(QUILLMOOR_SOURCE_DIR "/examples") + "/" + GetParam());
  initPhysics();  // its banner must not reach the captured output
  AppState app;
  testing::internal::CaptureStdout();
  resetWorld(app);
  const std::string output = testing::internal::GetCapturedStdout();
  std::filesystem::current_path(previous);
  ASSERT_NE(app.scene, nullptr) << output;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);)
    EXPECT_EQ(line.rfind("Reading ", 0), 0u) << "unexpected message: " << line;

  const TickPlan plan = planTick(app.scene.get());
  for (int tick = 0; tick < 60 * plan.fps; ++tick) stepSpace(app.space, plan.substeps, plan.dt);
  struct Count {
    int bodies = 0, outside = 0;
  } count;
  cpSpaceEachBody(
      app.space,
      [](cpBody* body, void* data) {
        auto* count = static_cast<Count*>(data);
        const cpVect p = cpBodyGetPosition(body);
        ++count->bodies;
        // Half a view's width or height beyond each edge.
        if (!(p.x > -512 && p.x < 1536 && p.y > -384 && p.y < 1152)) ++count->outside;
      },
      &count);
  EXPECT_GT(count.bodies, 0);
  EXPECT_EQ(count.outside, 0) << "of " << count.bodies << " bodies";
  releaseWorld(app);
}

INSTANTIATE_TEST_SUITE_P(Gallery, Example, testing::ValuesIn(exampleNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

}  // namespace
