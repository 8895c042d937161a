// Hostile scenes: what used to abort inside the physics library, each bound at its edge, each
// work limit at its edge, and files that are not regular files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "app/mouse.h"
#include "test_support.h"
#include "world/limits.h"
#include "world/physics.h"

namespace {

class Robustness : public ScratchDir {
 protected:
  // Runs `work` in a child process, since a library abort ends the whole process; the child
  // has `seconds` to finish. Returns its wait status.
  static int inChild(const std::function<int()>& work, unsigned seconds = 60) {
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
      alarm(seconds);
      _exit(work());
    }
    int status = -1;
    waitpid(pid, &status, 0);
    return status;
  }
  void ticks(int n) {
    const TickPlan plan = planTick(app_.scene.get());
    for (int i = 0; i < n; ++i) stepSpace(space(), plan.substeps, plan.dt);
  }
  template <typename Item>
  int count(void (*each)(cpSpace*, void (*)(Item*, void*), void*)) {
    int n = 0;
    each(
        space(), [](Item*, void* c) { ++*static_cast<int*>(c); }, &n);
    return n;
  }
  int bodies() { return count<cpBody>(cpSpaceEachBody); }
  int shapes() { return count<cpShape>(cpSpaceEachShape); }
  int constraints() { return count<cpConstraint>(cpSpaceEachConstraint); }
};

TEST_F(Robustness, FoundAbortsNowRun) {
  const std::string data = QUILLMOOR_TEST_DATA "/fuzz-findings/";
  ASSERT_EQ(symlink(QUILLMOOR_SOURCE_DIR "/demo/meshes", "meshes"), 0);
  for (const char* obj : {"epa-vertex-1e20.obj", "epa-vertex-3.4e38.obj"})
    ASSERT_EQ(symlink((data + obj).c_str(), obj), 0);
  const struct {
    const char* scene;
    bool push;  // three ticks, then the cursor to (3, 2) and back to (0, 0)
  } rows[] = {{"angvel-pin-anchor-1e38.txt", false},
              {"angvel-push-pin-anchor.txt", true},
              {"angvel-scale-1e30.txt", false},
              {"epa-scale-1e30-line-1e38.txt", false},
              {"epa-vertex-1e20.txt", false},
              {"epa-vertex-3.4e38.txt", false},
              {"position-scale-1e30-mass-1e-45.txt", false}};
  for (const auto& row : rows) {
    const int status = inChild([&] {
      const std::string path = data + row.scene;
      if (!loadFile(path.c_str())) return 1;
      if (row.push) {
        ticks(3);
        pushAt(app_, cpv(3, 2));
        pushAt(app_, cpv(0, 0));
      }
      ticks(60);
      return 0;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << row.scene << " " << status;
  }
}

TEST_F(Robustness, BoundsAtTheirEdges) {
  write("tri.obj", "v 0 0 0\nv 10 0 0\nv 0 0 10\nf 1 2 3\n");
  write("far_in.obj", "v 0 0 0\nv 1000000 0 0\nv 0 0 10\nf 1 2 3\n");
  write("far_out.obj", "v 0 0 0\nv 1000001 0 0\nv 0 0 10\nf 1 2 3\n");
  const std::string a = "new_obj a\nobj_col_mesh tri.obj\n";
  const std::string rope = a + "new_rope\nrope_obj_a a\n";
  const struct {
    std::string scene;
    int bodies, shapes, constraints;
  } rows[] = {
      {a + "obj_pos 1000000 -1000000", 1, 1, 0},
      {a + "obj_pos 1000001 0", 0, 0, 0},
      {a + "obj_pos 0 -1000001\nobj_mass 0", 0, 0, 0},
      {"new_obj a\nobj_col_mesh far_in.obj", 1, 1, 0},
      {"new_obj a\nobj_col_mesh far_out.obj", 1, 0, 0},
      {a + "obj_scale -10000", 1, 1, 0},
      {a + "obj_scale 10001", 0, 0, 0},
      {a + "obj_mass 1000000000", 1, 1, 0},
      {a + "obj_mass 1010000000", 0, 0, 0},
      {a + "obj_mass 0.00000101", 1, 1, 0},
      {a + "obj_mass 0.00000099", 0, 0, 0},
      // Moment 50 x scale squared for this mass and mesh.
      {a + "obj_scale 0.0000045", 1, 1, 0},
      {a + "obj_scale 0.0000044", 0, 0, 0},
      {"new_obj a\nobj_col_line -1000000 0 1000000 0 1000000", 1, 1, 0},
      {"new_obj a\nobj_col_line -1000001 0 0 0", 1, 0, 0},
      {"new_obj a\nobj_col_line 0 0 9 0 1000001", 1, 0, 0},
      {a + "new_joint_pin\njoint_obj_a a\njoint_anchor_b 1000000 0", 1, 1, 1},
      {a + "new_joint_pin\njoint_obj_a a\njoint_anchor_a 0 1000001", 1, 1, 0},
      {a + "new_joint_slide\njoint_obj_a a\njoint_slide_max -1000000", 1, 1, 1},
      {a + "new_joint_slide\njoint_obj_a a\njoint_slide_min 1000001", 1, 1, 0},
      // Two segments of half a million units each.
      {rope + "rope_anchor_b 1000000 0\nrope_approx_seg_len 1000000", 3, 1, 4},
      {rope + "rope_anchor_b 1000001 0\nrope_approx_seg_len 1000000", 1, 1, 0},
      {rope + "rope_anchor_b 100 0\nrope_approx_seg_len 100\nrope_seg_mass 0.00000101", 3, 1, 4},
      {rope + "rope_anchor_b 100 0\nrope_approx_seg_len 100\nrope_seg_mass 0.00000099", 1, 1, 0},
  };
  for (const auto& row : rows) {
    ASSERT_TRUE(load(row.scene));
    EXPECT_EQ(bodies(), row.bodies) << row.scene;
    EXPECT_EQ(shapes(), row.shapes) << row.scene;
    EXPECT_EQ(constraints(), row.constraints) << row.scene;
  }
}

// The cumulative limits, each just reached and just passed, with their one line on standard
// error (standard output carries only the reader's own messages).
TEST_F(Robustness, WorkLimitsAtTheirEdges) {
  write("tri.obj", "v 0 0 0\nv 10 0 0\nv 0 0 10\nf 1 2 3\n");
  auto row = [](int triangles) {  // side by side, so that they do not overlap
    std::string mesh;
    for (int i = 0; i < triangles; ++i) {
      const std::string x = std::to_string(i * 20);
      const std::string x2 = std::to_string(i * 20 + 10);
      mesh += "v " + x + " 0 1\nv " + x2 + " 0 1\nv " + x + " 0 11\n";
      mesh += "f " + std::to_string(3 * i + 1) + " " + std::to_string(3 * i + 2) + " " +
              std::to_string(3 * i + 3) + "\n";
    }
    return mesh;
  };
  write("row1000.obj", row(1000));
  std::string stack = "v 0 0 0\nv 10 0 0\nv 0 0 10\n";
  for (int i = 0; i < 2000; ++i) stack += "f 1 2 3\n";
  write("stack2000.obj", stack);
  write("stack2001.obj", stack + "f 1 2 3\n");
  write("row1001.obj", row(1001));
  auto stacked = [](int n) {
    std::string scene;
    for (int i = 0; i < n; ++i) scene += "new_obj\nobj_col_mesh tri.obj\nobj_pos 500 300\n";
    return scene;
  };
  // One moving object and eight ropes of 4096 segments: 98305 bodies and joints.
  std::string ropes = "new_obj a\n";
  for (int i = 0; i < 8; ++i)
    ropes += "new_rope\nrope_obj_a a\nrope_anchor_b 500 0\nrope_approx_seg_len 0.01\n";
  for (int i = 0; i < 1696; ++i) ropes += "new_joint_pin\njoint_obj_a a\njoint_anchor_b 5 5\n";
  const struct {
    std::string scene;
    int bodies, shapes, constraints;
    const char* message;  // nullptr: none
  } rows[] = {
      {"new_obj a\nobj_col_mesh row1000.obj", 1, 1000, 0, nullptr},
      {"new_obj a\nobj_col_mesh row1001.obj", 1, 1000, 0, "first 1000 collision triangles"},
      {"new_obj a\nobj_col_mesh row1001.obj\nobj_mass 0", 0, 1001, 0, nullptr},
      // Each shape overlaps all before it: 447 make 99681 pairs, the 448th would pass 100000.
      {stacked(447), 447, 447, 0, nullptr},
      {stacked(448), 448, 447, 0, "collision shapes were left out"},
      // Static pairs: 2000 stacked triangles make 1999000, the 2001st would pass 2000000.
      {"new_obj a\nobj_mass 0\nobj_col_mesh stack2000.obj", 0, 2000, 0, nullptr},
      {"new_obj a\nobj_mass 0\nobj_col_mesh stack2001.obj", 0, 2000, 0, "shapes were left out"},
      // The first 1695 joints reach 100000 items; the last is left out.
      {ropes, 1 + 8 * 4096, 0, 8 * 8192 + 1695, "cut off at 100000 bodies, shapes and joints"},
  };
  for (const auto& r : rows) {
    testing::internal::CaptureStderr();
    ASSERT_TRUE(load(r.scene));
    const std::string error = testing::internal::GetCapturedStderr();
    EXPECT_EQ(bodies(), r.bodies);
    EXPECT_EQ(shapes(), r.shapes);
    EXPECT_EQ(constraints(), r.constraints);
    if (r.message) {
      EXPECT_NE(error.find(r.message), std::string::npos) << error;
      EXPECT_EQ(error.find('\n'), error.size() - 1) << error;  // one line
    } else {
      EXPECT_EQ(error, "");
    }
    EXPECT_EQ(output_.find("quillmoor:"), std::string::npos);
  }
  // 200 drawn meshes of 1000 triangles reach the drawing limit; the 201st is not drawn.
  std::string drawn;
  for (int i = 0; i < 201; ++i) drawn += "new_obj\nobj_mesh row1000.obj\nobj_mass 0\n";
  testing::internal::CaptureStderr();
  ASSERT_TRUE(load(drawn));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("left undrawn"), std::string::npos);
  int shown = 0;
  for (auto& [name, object] : app_.scene->objects) shown += object->mesh != nullptr;
  EXPECT_EQ(shown, 200);
}

// Reading stops once the meshes read hold more than 4000000 vertices and triangles.
TEST_F(Robustness, MeshesReadAtTheLimit) {
  std::string big;
  big.reserve(12000000);
  for (int i = 0; i < 4000000; ++i) big += "v \n";
  write("big.obj", big);
  write("one.obj", "v 1 0 1\n");
  testing::internal::CaptureStderr();
  Scene* scene = load(
      "new_obj a\nobj_mesh big.obj\nnew_obj b\nobj_mesh one.obj\nnew_obj c\nobj_mesh ./one.obj\n");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("were not read"), std::string::npos);
  ASSERT_TRUE(scene);
  EXPECT_TRUE(scene->objects.at("a")->mesh && scene->objects.at("b")->mesh);
  EXPECT_FALSE(scene->objects.at("c")->mesh);
}

TEST(TickWork, FewerPassesThenFewerSteps) {
  const struct {
    int steps, passes;
    StepLoad load;
    int kept_steps, kept_passes;
    bool limited;
  } rows[] = {
      {10, 10, {300000, 0}, 10, 10, false},        // exactly the limit
      {10, 10, {300001, 0}, 10, 9, true},          // passes first
      {10, 0, {300001, 0}, 10, 9, true},           // 0 passes means the library's 10
      {60, 10, {0, 1e6}, 30, 10, true},            // work per step alone: fewer steps
      {1000, 1000, {8192, 262144}, 110, 1, true},  // a 4096-segment rope
      {0, 1000, {1e9, 1e9}, 0, 1000, false},       // no steps, no work
  };
  for (const auto& r : rows) {
    const TickWork work = limitTickWork(r.steps, r.passes, r.load);
    EXPECT_EQ(work.substeps, r.kept_steps) << r.steps << " " << r.passes;
    EXPECT_EQ(work.solver_iterations, r.kept_passes) << r.steps << " " << r.passes;
    EXPECT_EQ(work.limited, r.limited) << r.steps << " " << r.passes;
  }
}

TEST_F(Robustness, FilesThatAreNotRegularOpenAsMissing) {
  ASSERT_EQ(mkfifo("fifo", 0600), 0);
  for (const char* path : {"fifo", "/dev/zero"}) {
    const int status = inChild(
        [&] {
          if (loadFile(path)) return 1;
          const std::string p = path;
          Scene* scene = load("new_obj a\nobj_mesh " + p + "\nobj_col_mesh " + p + "\n");
          const SceneObject* a = scene ? scene->objects.at("a") : nullptr;
          return a && !a->mesh && !a->col_mesh ? 0 : 2;
        },
        5);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << path << " " << status;
  }
}

}  // namespace
