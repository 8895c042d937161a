#include <chipmunk/chipmunk_structs.h>  // a shape's kind, which the public interface lacks

#include <set>

#include "test_support.h"
#include "world/builders.h"

class Builders : public ScratchDir {
 protected:
  using Shapes =
      std::multiset<std::vector<double>>;  // triangle?, world box l b r t, elasticity, friction
  cpBody* body(const char* name) {         // nullptr: the static body
    return name ? app_.scene->objects.at(name)->body : app_.scene->static_body.get();
  }
  Shapes shapes(cpBody* b) {
    Shapes out;
    cpBodyEachShape(
        b,
        [](cpBody*, cpShape* s, void* out) {
          const cpBB bb = cpShapeGetBB(s);
          static_cast<Shapes*>(out)->insert({1.0 * (s->klass->type == CP_POLY_SHAPE), bb.l, bb.b,
                                             bb.r, bb.t, cpShapeGetElasticity(s),
                                             cpShapeGetFriction(s)});
        },
        &out);
    return out;
  }
  std::vector<cpConstraint*> joints() {
    std::vector<cpConstraint*> out;
    cpSpaceEachConstraint(
        space(), [](cpConstraint* c, void* v) { static_cast<decltype(out)*>(v)->push_back(c); },
        &out);
    return out;
  }
};

TEST_F(Builders, MassMomentScaleAndTheChoiceOfCollisionShape) {
  write("tri.obj", "v 3 0 4\nv 10 0 4\nv 3 0 10\nf 1 2 3\n");
  write("flat.obj", "v 0 0 0\nv 4 0 0\nv 2 0 0\nv 0 0 3\nf 1 2 3\nf 2 4 1\n");
  write("far.obj", "v 2000 0 0\nv 2000 0 1500\nv 3000 0 0\nf 1 2 3\n");
  write("origin.obj", "v 0 0 0\n");
  ASSERT_NE(
      load("new_obj plain\nobj_pos 10 20\nnew_obj zero\nobj_mass 0\nobj_pos 300 400\nobj_scale 2\n"
           "obj_col_line 0 0 10 0 2\nobj_bounciness 0.5\nobj_friction 0.7\nnew_obj "
           "negative\nobj_mass -3\n"
           "obj_pos 50 60\nobj_scale 3\nobj_col_mesh tri.obj\nnew_obj both\nobj_pos 100 "
           "100\nobj_scale 2\n"
           "obj_col_mesh tri.obj\nobj_col_line 0 0 50 0 3\nnew_obj fallback\nobj_mass 3\nobj_scale "
           "2\n"
           "obj_col_mesh gone.obj\nobj_col_line 0 0 50 0 3\nnew_obj flat\nobj_mass 2\nobj_col_mesh "
           "flat.obj\n"
           "new_obj far\nobj_col_mesh far.obj\nnew_obj origin\nobj_col_mesh origin.obj\n"
           "obj_col_line 0 0 50 0 3\n"),
      nullptr);
  ASSERT_TRUE(!body("zero") && !body("negative") && body("plain"));
  EXPECT_TRUE(cpBodyGetMass(body("plain")) == 1 &&
              cpveql(cpBodyGetPosition(body("plain")), cpv(10, 20)));
  // Moment 0.5 * m * r^2, r the nearest scaled vertex off the origin, at most 999.
  const struct {
    const char* name;
    Shapes shapes;
    double moment;
  } rows[] = {{nullptr, {{0, 298, 398, 312, 402, 0.5, 0.7f}, {1, 59, 72, 80, 90, 0, 0}}, INFINITY},
              {"plain", {}, 499000.5},
              {"both", {{1, 106, 108, 120, 120, 0, 0}}, 50},
              {"fallback", {{0, -3, -3, 53, 3, 0, 0}}, 3 * 499000.5},
              {"flat", {{1, 0, 0, 4, 3, 0, 0}}, 4},
              {"far", {{1, 2000, 0, 3000, 1500, 0, 0}}, 499000.5},
              {"origin", {}, 499000.5}};
  for (const auto& [name, shapes_built, moment] : rows) {
    EXPECT_EQ(shapes(body(name)), shapes_built) << (name ? name : "static");
    EXPECT_EQ(cpBodyGetMoment(body(name)), moment) << (name ? name : "static");
  }
}

TEST_F(Builders, JointsTieBodiesOrTheWorld) {
  ASSERT_NE(
      load("new_obj a\nobj_pos 100 100\nnew_obj b\nobj_pos 200 100\nnew_obj s\nobj_mass "
           "0\nnew_joint_pin\n"
           "joint_anchor_a 1 1\nnew_joint_pin\njoint_obj_b a\njoint_anchor_a 5 6\njoint_anchor_b 1 "
           "2\n"
           "new_joint_slide\njoint_obj_a s\njoint_obj_b a\nnew_joint_slide\njoint_obj_a "
           "a\njoint_obj_b s\n"
           "joint_anchor_b 300 310\njoint_slide_min 30\njoint_slide_max "
           "10\nnew_joint_pin\njoint_obj_a a\n"
           "joint_obj_b b\nnew_joint_slide\njoint_obj_a b\njoint_obj_b a\njoint_slide_max 7\n"),
      nullptr);
  // Built: b alone (swapped), a to static s (its anchor a world point), a to b, b to a.
  const struct {
    bool pin;
    const char *a, *b;
    double length_or_min, max;
  } rows[] = {{true, "a", nullptr, std::hypot(101 - 5, 102 - 6), 0},
              {false, "a", nullptr, 10, 30},
              {true, "a", "b", 100, 0},
              {false, "b", "a", 0, 7}};
  const std::vector<cpConstraint*> built = joints();
  ASSERT_EQ(built.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    const auto& [pin, a, b, low, high] = rows[i];
    cpConstraint* c = built[i];
    ASSERT_EQ(cpConstraintIsPinJoint(c), pin) << i;
    EXPECT_TRUE(cpConstraintGetBodyA(c) == body(a) && cpConstraintGetBodyB(c) == body(b)) << i;
    EXPECT_DOUBLE_EQ(pin ? cpPinJointGetDist(c) : cpSlideJointGetMin(c), low) << i;
    EXPECT_EQ(pin ? 0 : cpSlideJointGetMax(c), high) << i;
  }
  EXPECT_TRUE(cpveql(cpSlideJointGetAnchorB(built[1]), cpv(300, 310)));
}

TEST_F(Builders, RopesAreChainsOfEqualSegments) {
  ASSERT_NE(load("new_obj top\nobj_pos 100 100\nnew_obj s\nobj_mass 0\nnew_rope\nrope_obj_a top\n"
                 "rope_anchor_b 100 200\nnew_rope\nrope_obj_b top\nrope_anchor_a 100 "
                 "130\nrope_approx_seg_len 15\n"
                 "new_rope\nrope_obj_a top\nrope_anchor_b 100.005 100\nnew_rope\nrope_obj_a top\n"
                 "rope_approx_seg_len 0\nnew_rope\nrope_obj_a s\nrope_anchor_b 10 10\nnew_rope\n"
                 "rope_anchor_b 10 10\nnew_rope\nrope_obj_a top\nrope_seg_mass "
                 "0\nnew_rope\nrope_obj_a top\n"
                 "rope_seg_mass -1\n"),
            nullptr);
  // 100 units; 30 up to end b; too short; approx 0; a static end or none; seg_mass 0 and -1.
  const size_t counts[] = {11, 3, 0, 0, 0, 0, 0, 0};
  const float lengths[] = {100.0f / 11, 10, 0, 0, 0, 0, 0, 0};
  const auto& ropes = app_.scene->ropes;
  ASSERT_EQ(ropes.size(), 8u);
  for (size_t i = 0; i < 8; ++i)
    EXPECT_TRUE(ropes[i]->segments.size() == counts[i] && ropes[i]->seg_len == lengths[i]) << i;
  const std::vector<cpBody*>& segments = ropes[0]->segments;
  EXPECT_LT(cpvdist(cpBodyGetPosition(segments.at(0)), cpv(100, 100 + 50.0 / 11)), 1e-5);
  EXPECT_DOUBLE_EQ(cpBodyGetAngle(segments[0]), M_PI / 2);
  EXPECT_TRUE(cpveql(cpBodyGetPosition(ropes[1]->segments.at(0)), cpv(100, 125)));
  EXPECT_DOUBLE_EQ(cpBodyGetAngle(ropes[1]->segments[0]), -M_PI / 2);
  const std::vector<cpConstraint*> pivots = joints();
  ASSERT_EQ(pivots.size(), 2u * (11 + 3));
  for (size_t i = 0; i < 11; ++i)  // to what precedes each segment, then to what follows
    EXPECT_TRUE(cpConstraintGetBodyB(pivots[2 * i]) == (i ? segments[i - 1] : body("top")) &&
                cpConstraintGetBodyB(pivots[2 * i + 1]) ==
                    (i < 10 ? segments[i + 1] : body(nullptr)))
        << i;
  EXPECT_TRUE(cpConstraintGetBodyB(pivots[22]) == body(nullptr) &&
              cpConstraintGetBodyB(pivots[27]) == body("top"))
      << "rope 1 runs from its world point to the object";
}
