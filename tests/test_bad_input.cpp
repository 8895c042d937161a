// Values a scene, mesh or material file can hold but the physics library cannot take: the
// program must neither abort inside the library nor hang nor exhaust memory. Each scene is
// built and then run for simulated seconds; a library abort would end the test process.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "test_support.h"
#include "world/builders.h"
#include "world/physics.h"

namespace {

int count(cpSpace* space, void (*each)(cpSpace*, void*)) {
  int n = 0;
  each(space, &n);
  return n;
}
int bodies(cpSpace* s) {
  return count(s, [](cpSpace* sp, void* n) { cpSpaceEachBody(sp, [](cpBody*, void* c) { ++*static_cast<int*>(c); }, n); });
}
int shapes(cpSpace* s) {
  return count(s, [](cpSpace* sp, void* n) { cpSpaceEachShape(sp, [](cpShape*, void* c) { ++*static_cast<int*>(c); }, n); });
}
int constraints(cpSpace* s) {
  return count(s, [](cpSpace* sp, void* n) {
    cpSpaceEachConstraint(sp, [](cpConstraint*, void* c) { ++*static_cast<int*>(c); }, n);
  });
}

class BadInput : public ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    write("tri.obj", "v 0 0 0\nv 20 0 0\nv 0 0 20\nv 20 0 20\nf 1 2 3\nf 2 4 3\n");
  }

  // Runs the current scene tick by tick and checks that every moving body stayed finite.
  // (Speeds are limited when a body moves; the last step's impulses may exceed the limit.)
  void run(int ticks) {
    const TickPlan plan = planTick(app_.scene.get());
    for (int t = 0; t < ticks; ++t) stepSpace(space(), plan.substeps, plan.dt);
    cpSpaceEachBody(space(), [](cpBody* b, void*) {
      const cpVect p = cpBodyGetPosition(b), v = cpBodyGetVelocity(b);
      EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(cpBodyGetAngle(b)));
      EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(cpBodyGetAngularVelocity(b)));
    }, nullptr);
  }

  const char* floor_ = "new_obj floor\nobj_mass 0\nobj_col_line 0 700 1024 700 10\n";
};

TEST_F(BadInput, ObjectsTheLibraryCannotTakeAreStaticOrLeftOut) {
  ASSERT_TRUE(load(std::string("scene_gravity 0 500\n") + floor_ +
                   "new_obj infinite\nobj_mass inf\nobj_col_mesh tri.obj\nobj_pos 100 100\n"
                   "new_obj nan_mass\nobj_mass nan\nobj_col_mesh tri.obj\nobj_pos 200 100\n"
                   "new_obj nan_pos\nobj_col_mesh tri.obj\nobj_pos nan 100\n"
                   "new_obj inf_pos\nobj_col_line 0 0 10 0 1\nobj_pos 300 -inf\n"
                   "new_obj nan_scale\nobj_col_mesh tri.obj\nobj_scale nan\nobj_pos 400 100\n"
                   "new_obj huge_scale\nobj_col_mesh tri.obj\nobj_scale 1e38\nobj_pos 500 100\n"
                   "new_obj flat\nobj_col_mesh tri.obj\nobj_scale 0\nobj_pos 600 100\n"
                   "new_obj mirrored\nobj_col_mesh tri.obj\nobj_scale -1\nobj_pos 700 100\n"
                   "new_obj nan_line\nobj_col_line 0 0 nan 0 1\nobj_pos 800 100\n"
                   "new_obj nan_radius\nobj_col_line 0 0 10 0 nan\nobj_pos 850 100\n"
                   "new_obj tiny\nobj_mass 1e-45\nobj_col_mesh tri.obj\nobj_pos 900 100\n"
                   "new_obj heavy\nobj_mass 3e38\nobj_col_mesh tri.obj\nobj_pos 950 100\n"));
  const auto& objects = app_.scene->objects;
  EXPECT_EQ(objects.at("infinite")->body, nullptr);
  EXPECT_EQ(objects.at("nan_mass")->body, nullptr);
  EXPECT_EQ(objects.at("nan_pos")->body, nullptr);
  EXPECT_EQ(objects.at("inf_pos")->body, nullptr);
  EXPECT_EQ(objects.at("nan_scale")->body, nullptr);
  EXPECT_NE(objects.at("huge_scale")->body, nullptr);
  EXPECT_NE(objects.at("mirrored")->body, nullptr);
  EXPECT_NE(objects.at("tiny")->body, nullptr);
  // floor 1 + infinite 2 + nan_mass 2 + huge 2 + mirrored 2 + tiny 2 + heavy 2; flat has no
  // area, the non-finite lines and the left-out objects add nothing.
  EXPECT_EQ(shapes(space()), 13);
  run(300);
}

TEST_F(BadInput, SurfaceValuesTheLibraryRejectsOrThatRunAway) {
  for (const char* value : {"-1", "nan", "inf", "1e30"}) {
    ASSERT_TRUE(load(std::string("scene_gravity 0 500\nscene_step_iterations 2\n") + floor_ +
                     "new_obj a\nobj_col_mesh tri.obj\nobj_pos 300 300\nobj_bounciness " + value +
                     "\nobj_friction " + value + "\nnew_obj b\nobj_col_mesh tri.obj\nobj_pos 305 250\n"
                     "obj_bounciness " + value + "\n"));
    cpSpaceEachShape(space(), [](cpShape* s, void*) {
      EXPECT_GE(cpShapeGetElasticity(s), 0.0);
      EXPECT_TRUE(std::isfinite(cpShapeGetFriction(s)));
    }, nullptr);
    run(600);
  }
}

TEST_F(BadInput, SpaceSettingsThatWouldOverflow) {
  const char* scenes[] = {"scene_damping 1e38\nscene_gravity 0 500\n",
                          "scene_damping 2\nscene_gravity 3e38 3e38\nscene_fps 1e-30\n",
                          "scene_fps 1e38\nscene_step_iterations 3\nscene_gravity 0 -3e38\n"};
  for (const char* settings : scenes) {
    ASSERT_TRUE(load(std::string(settings) + floor_ +
                     "new_obj a\nobj_col_mesh tri.obj\nobj_pos 300 300\nobj_bounciness 5\n"
                     "new_rope\nrope_obj_a a\nrope_anchor_b 300 100\n"));
    run(200);
  }
}

TEST_F(BadInput, JointsWithNonFiniteAnchorsOrLimitsAreLeftOut) {
  ASSERT_TRUE(load(std::string("scene_gravity 0 500\n") +
                   "new_obj a\nobj_pos 100 100\nnew_obj b\nobj_pos 200 100\n"
                   "new_joint_pin\njoint_obj_a a\njoint_anchor_a nan 0\n"
                   "new_joint_pin\njoint_obj_a a\njoint_obj_b b\njoint_anchor_b 0 inf\n"
                   "new_joint_slide\njoint_obj_a a\njoint_slide_min inf\njoint_slide_max 5\n"
                   "new_joint_slide\njoint_obj_a a\njoint_slide_max nan\n"
                   "new_joint_slide\njoint_obj_a a\njoint_obj_b b\njoint_slide_min 10\njoint_slide_max 1e38\n"
                   "new_joint_pin\njoint_obj_a a\njoint_anchor_b 1e38 1e38\n"));
  EXPECT_EQ(constraints(space()), 2);
  run(200);
}

TEST_F(BadInput, RopesTheLibraryCannotTakeAreLeftOutAndLongOnesBounded) {
  const char* ropes[] = {"rope_seg_mass 0\n", "rope_seg_mass -1\n", "rope_seg_mass inf\n",
                         "rope_seg_mass nan\n", "rope_anchor_b nan 0\n", "rope_anchor_b 1e38 0\n",
                         "rope_approx_seg_len 0\n", "rope_approx_seg_len nan\n",
                         "rope_approx_seg_len -1\n", "rope_approx_seg_len 1e-30\n", "rope_approx_seg_len 0.001\n"};
  for (const char* line : ropes) {
    ASSERT_TRUE(load(std::string("new_obj a\nobj_pos 100 100\nnew_rope\nrope_obj_a a\n"
                                 "rope_anchor_b 600 100\n") + line));
    const SceneRope& rope = *app_.scene->ropes[0];
    if (std::string(line) == "rope_approx_seg_len 0.001\n") {
      // Half a million segments would exhaust memory; the rope keeps the cap, segments longer.
      EXPECT_EQ(rope.segments.size(), static_cast<size_t>(kMaxRopeSegments));
      EXPECT_FLOAT_EQ(rope.seg_len, 500.0f / kMaxRopeSegments);
      EXPECT_EQ(constraints(space()), 2 * kMaxRopeSegments);
    } else {
      EXPECT_TRUE(rope.segments.empty()) << line;
      EXPECT_EQ(bodies(space()), 1) << line;
      EXPECT_EQ(constraints(space()), 0) << line;
    }
  }
}

TEST_F(BadInput, FaceNumbersBeyondThe32BitRange) {
  write("wide.obj", "v 0 0 0\nv 9 0 0\nv 0 0 9\nf 1 2 99999999999999999999\n"
                    "f -99999999999999999999 1 2 3\nf 1 2 2147483648\nf 2147483647 1 2\nf 1 2 3\n");
  ASSERT_TRUE(load("new_obj a\nobj_mesh wide.obj\nobj_col_mesh wide.obj\nobj_pos 9 9\n"));
  const Mesh* mesh = app_.scene->objects.at("a")->mesh;
  ASSERT_NE(mesh, nullptr);
  // Only the two faces whose corners all name vertices remain: (0, 1, 2) twice.
  ASSERT_EQ(mesh->triangles.size(), 2u);
  for (const MeshTriangle& t : mesh->triangles) {
    EXPECT_EQ(t.a, 0);
    EXPECT_EQ(t.b, 1);
    EXPECT_EQ(t.c, 2);
  }
  run(60);
}

TEST_F(BadInput, ArbitraryBytesAndOddFiles) {
  std::string noise;
  unsigned seed = 12345;
  for (int i = 0; i < 200000; ++i) {
    seed = seed * 1103515245 + 12345;
    noise += static_cast<char>(seed >> 16);
    if (i % 997 == 0) noise += "\nobj_pos 1 2\nnew_obj\nobj_col_mesh tri.obj\nnew_rope\nrope_obj_a @@@UNIQUE1\n";
  }
  ASSERT_TRUE(load(noise));
  EXPECT_GT(app_.scene->objects.size(), 100u);
  run(60);

  ASSERT_TRUE(load(""));
  ASSERT_EQ(mkdir("folder", 0755), 0);
  EXPECT_EQ(loadFile("folder"), nullptr);
  EXPECT_EQ(output_, "Reading scene file 'folder'..\nSCENE FILE NOT FOUND! ('folder')\n");
  ASSERT_TRUE(load("new_obj\nobj_mesh folder\n"));
  EXPECT_NE(output_.find("MESH FILE NOT FOUND! ('folder')"), std::string::npos);
}

}  // namespace
