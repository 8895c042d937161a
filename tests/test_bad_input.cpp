// Values a scene or mesh file can hold but the physics library cannot take: nothing may
// abort inside the library, hang or exhaust memory. Each world is built and then run; a
// library abort would end the test process.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <string>

#include "test_support.h"
#include "world/builders.h"
#include "world/physics.h"

namespace {

template <typename Item>
int countOf(cpSpace* space, void (*each)(cpSpace*, void (*)(Item*, void*), void*)) {
  int n = 0;
  each(
      space, [](Item*, void* c) { ++*static_cast<int*>(c); }, &n);
  return n;
}

class BadInput : public ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    write("tri.obj", "v 0 0 0\nv 20 0 0\nv 0 0 20\nv 20 0 20\nf 1 2 3\nf 2 4 3\n");
  }
  // Runs the world tick by tick; every body must stay finite.
  void run(int ticks) {
    const TickPlan plan = planTick(app_.scene.get());
    for (int t = 0; t < ticks; ++t) stepSpace(space(), plan.substeps, plan.dt);
    cpSpaceEachBody(
        space(),
        [](cpBody* b, void*) {
          const cpVect p = cpBodyGetPosition(b), v = cpBodyGetVelocity(b);
          EXPECT_TRUE(std::isfinite(p.x + p.y + v.x + v.y + cpBodyGetAngle(b) +
                                    cpBodyGetAngularVelocity(b)));
        },
        nullptr);
  }
  int shapes() { return countOf<cpShape>(space(), cpSpaceEachShape); }
  int constraints() { return countOf<cpConstraint>(space(), cpSpaceEachConstraint); }
  const std::string floor_ =
      "scene_gravity 0 500\nnew_obj floor\nobj_mass 0\nobj_col_line 0 700 1024 700 10\n";
};

TEST_F(BadInput, ObjectsAreStaticOrLeftOut) {
  const char* rows[][3] = {
      // name, property lines, built as: d(ynamic) s(tatic) -(nothing)
      {"infinite", "obj_mass inf", "s"},   {"nan_mass", "obj_mass nan", "s"},
      {"nan_pos", "obj_pos nan 100", "-"}, {"inf_pos", "obj_pos 300 -inf", "-"},
      {"nan_scale", "obj_scale nan", "-"}, {"huge_scale", "obj_scale 1e38", "-"},
      {"flat", "obj_scale 0", "d"},        {"mirrored", "obj_scale -1", "d"},
      {"tiny", "obj_mass 1e-45", "-"},     {"heavy", "obj_mass 3e38", "-"}};
  std::string scene = floor_;
  for (auto& row : rows)
    scene += std::string("new_obj ") + row[0] + "\nobj_col_mesh tri.obj\nobj_pos 500 100\n" +
             row[1] + "\n";
  scene +=
      "new_obj nan_line\nobj_col_line 0 0 nan 0 1\nnew_obj nan_radius\nobj_col_line 0 0 9 0 nan\n";
  ASSERT_TRUE(load(scene));
  for (auto& row : rows)
    EXPECT_EQ(app_.scene->objects.at(row[0])->body != nullptr, row[2][0] == 'd') << row[0];
  // The floor, and two triangles each for the 2 static objects and the mirrored one; none for
  // the flat one (no area), the non-finite lines and the objects left out.
  EXPECT_EQ(shapes(), 1 + 2 * 3);
  run(300);
}

TEST_F(BadInput, RunawaySurfacesAndSpaceSettings) {
  const char* rows[] = {"obj_bounciness -1\nobj_friction -1",
                        "obj_bounciness nan\nobj_friction nan",
                        "obj_bounciness inf\nobj_friction inf",
                        "obj_bounciness 1e30\nobj_friction 1e30",
                        "scene_damping 1e38",
                        "scene_damping 2\nscene_gravity 3e38 3e38\nscene_fps 1e-30",
                        "scene_fps 1e38\nscene_step_iterations 3\nscene_gravity 0 -3e38"};
  for (const char* lines : rows) {
    ASSERT_TRUE(load(floor_ +
                     "new_obj a\nobj_col_mesh tri.obj\nobj_pos 300 300\nobj_bounciness 5\n" +
                     "new_obj b\nobj_col_mesh tri.obj\nobj_pos 305 250\n" + lines +
                     "\nnew_rope\nrope_obj_a a\nrope_anchor_b 300 100\n"));
    cpSpaceEachShape(
        space(),
        [](cpShape* s, void*) {
          EXPECT_GE(cpShapeGetElasticity(s), 0.0);
          EXPECT_TRUE(std::isfinite(cpShapeGetFriction(s)));
        },
        nullptr);
    run(300);
  }
}

TEST_F(BadInput, JointsAndRopesThatCannotBeBuiltAreLeftOut) {
  ASSERT_TRUE(
      load("new_obj a\nobj_pos 100 100\nnew_obj b\nobj_pos 200 100\n"
           "new_joint_pin\njoint_obj_a a\njoint_anchor_a nan 0\n"
           "new_joint_pin\njoint_obj_a a\njoint_obj_b b\njoint_anchor_b 0 inf\n"
           "new_joint_slide\njoint_obj_a a\njoint_slide_min inf\njoint_slide_max 5\n"
           "new_joint_slide\njoint_obj_a a\njoint_slide_max nan\n"
           "new_joint_slide\njoint_obj_a a\njoint_slide_min 10\njoint_slide_max 1e38\n"
           "new_joint_pin\njoint_obj_a a\njoint_anchor_b 1e38 1e38\n"));
  EXPECT_EQ(constraints(), 0);  // the huge finite ones are out of bounds as well
  run(100);
  for (const char* line :
       {"rope_seg_mass 0", "rope_seg_mass -1", "rope_seg_mass inf", "rope_seg_mass nan",
        "rope_anchor_b nan 0", "rope_anchor_b 1e38 0", "rope_approx_seg_len 0",
        "rope_approx_seg_len nan", "rope_approx_seg_len 1e-30", "rope_approx_seg_len 0.001"}) {
    ASSERT_TRUE(
        load(std::string("new_obj a\nnew_rope\nrope_obj_a a\nrope_anchor_b 500 0\n") + line));
    const SceneRope& rope = *app_.scene->ropes[0];
    if (std::string(line) == "rope_approx_seg_len 0.001") {
      // Half a million segments would exhaust memory: the count is capped, segments longer.
      EXPECT_EQ(rope.segments.size(), static_cast<size_t>(kMaxRopeSegments));
      EXPECT_FLOAT_EQ(rope.seg_len, 500.0f / kMaxRopeSegments);
      EXPECT_EQ(constraints(), 2 * kMaxRopeSegments);
    } else {
      EXPECT_TRUE(rope.segments.empty() && constraints() == 0) << line;
    }
  }
}

TEST_F(BadInput, FaceNumbersBeyondThe32BitRangeNameNoVertex) {
  write("wide.obj",
        "v 0 0 0\nv 9 0 0\nv 0 0 9\nf 1 2 99999999999999999999\n"
        "f -99999999999999999999 1 2 3\nf 1 2 2147483648\nf 2147483647 1 2\n");
  ASSERT_TRUE(load("new_obj a\nobj_mesh wide.obj\nobj_col_mesh wide.obj\n"));
  const Mesh* mesh = app_.scene->objects.at("a")->mesh;
  ASSERT_EQ(mesh->triangles.size(), 1u);  // only the face whose corners all name vertices
  EXPECT_EQ(mesh->triangles[0].a + mesh->triangles[0].b * 10 + mesh->triangles[0].c * 100, 210);
  run(60);
}

TEST_F(BadInput, ArbitraryBytesAndAFolderAsMesh) {
  std::string noise;
  unsigned seed = 12345;
  for (int i = 0; i < 200000; ++i) {
    seed = seed * 1103515245 + 12345;
    noise += static_cast<char>(seed >> 16);
    if (i % 997 == 0)
      noise += "\nobj_pos 1 2\nnew_obj\nobj_col_mesh tri.obj\nnew_rope\nrope_obj_a @@@UNIQUE1\n";
  }
  ASSERT_TRUE(load(noise));
  EXPECT_GT(app_.scene->objects.size(), 100u);
  run(60);
  ASSERT_EQ(mkdir("folder", 0755), 0);
  ASSERT_TRUE(load("new_obj\nobj_mesh folder\n"));
  EXPECT_NE(output_.find("MESH FILE NOT FOUND! ('folder')"), std::string::npos);
}

}  // namespace
