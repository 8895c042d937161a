// The demo and every example under examples/ check clean: no diagnostic, and nothing printed but
// what was read. After 60 seconds of its own ticks every body (rope segments too) is within a
// generous box around the world view and at a finite position. And the physics bit for bit.
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <tuple>

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

class Example : public testing::TestWithParam<std::string> {};

TEST_P(Example, ChecksCleanAndStaysInViewForAMinute) {
  const std::string previous = std::filesystem::current_path();
  std::filesystem::current_path(std::string(QUILLMOOR_SOURCE_DIR "/") + GetParam());
  initPhysics();  // its banner must not reach the captured output
  AppState app;
  app.diagnostics = std::make_unique<Diagnostics>();
  testing::internal::CaptureStdout();
  resetWorld(app);
  const std::string output = testing::internal::GetCapturedStdout();
  std::filesystem::current_path(previous);
  ASSERT_NE(app.scene, nullptr) << output;
  for (const Diagnostic& d : app.diagnostics->list)
    ADD_FAILURE() << d.place.file << ":" << d.place.line << ": " << d.text;
  EXPECT_GT(app.diagnostics->opened.size(), 1u);
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);)
    EXPECT_EQ(line.rfind("Reading ", 0), 0u) << "unexpected message: " << line;

  const TickPlan plan = planTick(app.scene.get());
  for (int tick = 0; tick < 60 * plan.fps; ++tick) stepSpace(app.space, plan.substeps, plan.dt);
  const std::vector<cpBody*> bodies = all<cpBody>(app.space, cpSpaceEachBody);
  EXPECT_FALSE(bodies.empty());
  for (cpBody* body : bodies) {
    const cpVect p = cpBodyGetPosition(body);  // half a view beyond each edge
    EXPECT_TRUE(p.x > -512 && p.x < 1536 && p.y > -384 && p.y < 1152) << p.x << "," << p.y;
  }
  releaseWorld(app);
}

INSTANTIATE_TEST_SUITE_P(Gallery, Example, testing::ValuesIn(sceneFolders()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           const std::string& name = info.param;
                           return name.substr(name.rfind('/') + 1);
                         });

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

// A speed-up of the step must leave every body where the old code left it, to the last bit.
class Determinism : public ScratchDir {};

TEST_F(Determinism, BodiesEndBitForBitWhereTheyDidBefore) {
  ASSERT_EQ(std::system("cp -r '" QUILLMOOR_SOURCE_DIR "/demo/.' ."), 0);
  writeFile("tri.obj", "v -15 0 -12\nv 15 0 -12\nv 0 0 14\nf 1 2 3\n");
  writeFile("pile.txt", pileScene(96));
  const std::tuple<const char*, int, uint64_t> cases[] = {
      {"scene.txt", 400, 10950519248455266604ull},
      {"pile.txt", 300, 17953773053854096123ull},
  };
  for (const auto& [file, ticks, hash] : cases) {
    ASSERT_NE(loadFile(file), nullptr) << file;
    const TickPlan plan = planTick(app_.scene.get());
    for (int i = 0; i < ticks; ++i) stepSpace(space(), plan.substeps, plan.dt);
    EXPECT_EQ(stateHash(space()), hash) << file;
  }
}

}  // namespace
