// Hostile scenes: each work limit at its edge, and files that are not regular files (a folder
// included). (Inputs
// that once aborted inside the physics library are replayed from the fuzz corpus; the bounds
// at their edges are rows of the world table.)
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <tuple>

#include "test_support.h"
#include "world/limits.h"

namespace {

class Robustness : public ScratchDir {};

// The cumulative limits, each just reached and just passed, with their one line on standard
// error (standard output carries only the reader's own messages).
TEST_F(Robustness, WorkLimitsAtTheirEdges) {
  const std::string tri = "v 0 0 0\nv 10 0 0\nv 0 0 10\n";
  std::string row, stack = tri, big, drawn, ropes = "new_obj a\n";
  for (int i = 0; i < 1000; ++i) {  // side by side, so that they do not overlap
    const std::string x = std::to_string(i * 20), x9 = std::to_string(i * 20 + 9);
    row += "v " + x + " 0 1\nv " + x9 + " 0 1\nv " + x + " 0 11\nf " + std::to_string(3 * i + 1) +
           " " + std::to_string(3 * i + 2) + " " + std::to_string(3 * i + 3) + "\n";
  }
  for (int i = 0; i < 2000; ++i) stack += "f 1 2 3\n";
  for (int i = 0; i < 4000000; ++i) big += "v \n";
  for (int i = 0; i < 201; ++i) drawn += "new_obj\nobj_mesh row.obj\nobj_mass 0\n";
  // One moving object and eight ropes of 4096 segments: 98305 bodies and joints.
  for (int i = 0; i < 8; ++i)
    ropes += "new_rope\nrope_obj_a a\nrope_anchor_b 500 0\nrope_approx_seg_len 0.01\n";
  for (int i = 0; i < 1696; ++i) ropes += "new_joint_pin\njoint_obj_a a\njoint_anchor_b 5 5\n";
  auto stacked = [](int n) {
    std::string scene;
    for (int i = 0; i < n; ++i) scene += "new_obj\nobj_col_mesh tri.obj\nobj_pos 500 300\n";
    return scene;
  };
  writeFile("tri.obj", tri + "f 1 2 3\n");
  writeFile("row.obj", row);
  writeFile("row1001.obj", row + "v 0 0 99\nf 1 2 3001\n");
  writeFile("stack2000.obj", stack);
  writeFile("stack2001.obj", stack + "f 1 2 3\n");
  writeFile("big.obj", big);
  const struct {
    std::string scene;
    size_t bodies, shapes, constraints;
    int shown;            // objects with a drawn mesh
    const char* message;  // "": none
  } rows[] = {
      {"new_obj a\nobj_col_mesh row.obj", 1, 1000, 0, 0, ""},
      {"new_obj a\nobj_col_mesh row1001.obj", 1, 1000, 0, 0, "first 1000 collision triangles"},
      {"new_obj a\nobj_col_mesh row1001.obj\nobj_mass 0", 0, 1001, 0, 0, ""},
      // Moving shapes weigh on every solver pass: 1000 passes of 1000 steps are too many.
      {"scene_step_iterations 1000\nscene_solver_iterations 1000\nnew_obj a\nobj_col_mesh row.obj",
       1, 1000, 0, 0, "solver passes or steps per tick were lowered"},
      // Each shape overlaps all before it: 447 make 99681 pairs, the 448th would pass 100000.
      {stacked(447), 447, 447, 0, 0, ""},
      {stacked(448), 448, 447, 0, 0, "collision shapes were left out"},
      // Static pairs: 2000 stacked triangles make 1999000, the 2001st would pass 2000000.
      {"new_obj a\nobj_mass 0\nobj_col_mesh stack2000.obj", 0, 2000, 0, 0, ""},
      {"new_obj a\nobj_mass 0\nobj_col_mesh stack2001.obj", 0, 2000, 0, 0, "were left out"},
      // The first 1695 joints reach 100000 items; the last is left out.
      {ropes, 1 + 8 * 4096, 0, 8 * 8192 + 1695, 0, "cut off at 100000 bodies, shapes and"},
      // 200 meshes of 1000 triangles reach the drawing limit.
      {drawn, 0, 0, 0, 200, "left undrawn"},
      // 4000000 vertices read: one more file is read, then no more.
      {"new_obj a\nobj_mesh big.obj\nnew_obj b\nobj_mesh tri.obj\nnew_obj c\nobj_mesh row.obj", 3,
       0, 0, 2, "were not read"},
  };
  for (const auto& r : rows) {
    testing::internal::CaptureStderr();
    ASSERT_TRUE(load(r.scene));
    const std::string error = testing::internal::GetCapturedStderr();
    int shown = 0;
    for (const auto& [name, object] : world().scene->objects)
      shown += world().of(*object).drawn != nullptr;
    EXPECT_EQ(std::make_tuple(all<cpBody>(space(), cpSpaceEachBody).size(),
                              all<cpShape>(space(), cpSpaceEachShape).size(),
                              all<cpConstraint>(space(), cpSpaceEachConstraint).size(), shown),
              std::make_tuple(r.bodies, r.shapes, r.constraints, r.shown))
        << r.scene.size();
    EXPECT_NE(error.find(r.message), std::string::npos) << error;  // in one line, or none
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), *r.message ? 1 : 0) << error;
    EXPECT_EQ(output_.find("quillmoor:"), std::string::npos);
  }
}

TEST(TickWork, FewerPassesThenFewerSteps) {
  const std::tuple<int, int, StepLoad, TickWork> rows[] = {
      // steps, passes, load, kept
      {10, 10, {300000, 0}, {10, 10, false}},        // exactly the limit
      {10, 0, {300001, 0}, {10, 9, true}},           // passes first; 0 means the library's 10
      {60, 10, {0, 1e6}, {30, 10, true}},            // work per step alone: fewer steps
      {1000, 1000, {8192, 262144}, {110, 1, true}},  // a 4096-segment rope
  };
  for (const auto& [steps, passes, load, kept] : rows) {
    const TickWork work = limitTickWork(steps, passes, load);
    EXPECT_EQ(std::make_tuple(work.substeps, work.solver_iterations, work.limited),
              std::make_tuple(kept.substeps, kept.solver_iterations, kept.limited));
  }
}

TEST_F(Robustness, FilesThatAreNotRegularOpenAsMissing) {
  ASSERT_EQ(mkfifo("fifo", 0600), 0);
  alarm(10);  // opening the FIFO or reading /dev/zero would never end: the alarm ends the test
  for (const std::string path : {"fifo", "/dev/zero", "."}) {
    EXPECT_FALSE(loadFile(path.c_str()));
    const SceneObject* a =
        load("new_obj a\nobj_mesh " + path + "\nobj_col_mesh " + path + "\n")->objects.at("a");
    EXPECT_EQ(a->mesh, nullptr) << path;
    EXPECT_EQ(a->col_mesh, nullptr) << path;
  }
  alarm(0);
}

}  // namespace
