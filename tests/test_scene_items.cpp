#include <string>
#include <vector>

#include "test_support.h"

namespace {

const std::string kReading = "Reading scene file 'scene.txt'..\n";
using Names = std::vector<std::string>;
using SceneItemsTest = ScratchDir;

Names names(const Scene& scene) {
  Names out;
  for (const auto& entry : scene.objects) out.push_back(entry.first);
  return out;
}

// The bodies or constraints of the space, in the order they were added.
template <typename T, typename Each>
std::vector<T*> all(cpSpace* space, Each each) {
  std::vector<T*> out;
  each(
      space, [](T* item, void* list) { static_cast<std::vector<T*>*>(list)->push_back(item); },
      &out);
  return out;
}

TEST_F(SceneItemsTest, LinesReachTheLastActiveItemOfTheirKind) {
  const Scene* scene = load(
      "obj_pos 50%s %d\nnew_rope \nnew_joint_pin \nnew_joint_slide\t\nnew_obj\tx\n"
      "rope_seg_mass 1\njoint_slide_min 2\nobj_friction 1\r\n"  // nothing was declared above
      "new_obj a\nnew_rope\nnew_joint_pin\nobj_mass 5\nrope_seg_mass 0.5\njoint_obj_a a\n"
      "new_obj b\njoint_anchor_a 3 2\nrope_color 0.5 0.25 0 1\nobj_pos 10 20\nobj_pos 7\n"
      "obj_col_line 0 0 5 0 3\nobj_col_line 0 0 100 0\nobj_col_line 1 2 3\n");
  ASSERT_NE(scene, nullptr);
  EXPECT_EQ(output_, kReading +
                         "No active object for: obj_pos 50%s %d\n"
                         "No active rope for: rope_seg_mass 1\n"
                         "No active joint for: joint_slide_min 2\n"
                         "No active object for: obj_friction 1\n");
  ASSERT_EQ(names(*scene), (Names{"a", "b"}));
  const SceneObject& a = *scene->objects.at("a");
  const SceneObject& b = *scene->objects.at("b");
  EXPECT_TRUE(a.mass == 5.0f && a.pos.x == 0.0 && !a.has_col_line);
  EXPECT_TRUE(b.mass == 1.0f && b.pos.x == 10.0 && b.pos.y == 20.0);
  // Four numbers are enough (the radius then reads as 0); three are not.
  EXPECT_TRUE(b.has_col_line && b.col_line_b.x == 100.0 && b.col_line_radius == 0.0f);
  ASSERT_EQ(scene->ropes.size(), 1u);
  EXPECT_TRUE(scene->ropes[0]->seg_mass == 0.5f && scene->ropes[0]->color.g == 0.25f);
  const auto joints = all<cpConstraint>(space(), cpSpaceEachConstraint);
  ASSERT_EQ(joints.size(), 1u);
  EXPECT_TRUE(cpConstraintIsPinJoint(joints[0]) && cpConstraintGetBodyA(joints[0]) == a.body);
  EXPECT_EQ(cpPinJointGetAnchorA(joints[0]).x, 3.0);
}

TEST_F(SceneItemsTest, GeneratedNamesAndByteWiseOrder) {
  std::string text = "new_obj box lid\nnew_obj   \n";  // one word is the name; blanks give none
  for (int i = 2; i <= 12; ++i) text += "new_obj\n";
  ASSERT_NE(load(text + "new_obj b\nnew_obj B\nnew_obj \xc3\xa9\nnew_obj ab\nnew_obj a\n"),
            nullptr);
  EXPECT_EQ(output_, kReading);
  EXPECT_EQ(names(*app_.scene),
            (Names{"@@@UNIQUE1", "@@@UNIQUE10", "@@@UNIQUE11", "@@@UNIQUE12", "@@@UNIQUE2",
                   "@@@UNIQUE3", "@@@UNIQUE4", "@@@UNIQUE5", "@@@UNIQUE6", "@@@UNIQUE7",
                   "@@@UNIQUE8", "@@@UNIQUE9", "B", "a", "ab", "b", "box", "\xc3\xa9"}));
  // Counting starts again with every load; explicit names do not advance it.
  ASSERT_NE(load("new_obj @@@UNIQUE2\nnew_obj\nnew_obj\nnew_obj @@@UNIQUE1\n"), nullptr);
  EXPECT_EQ(output_, kReading +
                         "Scene has a duplicate object: '@@@UNIQUE2'\n"
                         "Scene has a duplicate object: '@@@UNIQUE1'\n");
  EXPECT_EQ(names(*app_.scene), (Names{"@@@UNIQUE1", "@@@UNIQUE2"}));
}

TEST_F(SceneItemsTest, DuplicatesAndObjectsNotYetCreated) {
  const Scene* scene = load(
      "new_obj box\nobj_pos 1 1\nnew_rope\nrope_obj_a  box\nrope_obj_a  zz\nrope_obj_b later\n"
      "new_obj box\nobj_pos 100 100\nnew_joint_slide\njoint_obj_a box\n"
      "joint_obj_a ghost trailing\nnew_obj later\n");
  ASSERT_NE(scene, nullptr);
  EXPECT_EQ(output_, kReading +
                         "Rope tried to use an object not yet created: 'zz'\n"
                         "Rope tried to use an object not yet created: 'later'\n"
                         "Scene has a duplicate object: 'box'\n"
                         "Joint tried to use an object not yet created: 'ghost'\n");
  ASSERT_EQ(scene->object_store.size(), 3u);
  const SceneObject* old_box = scene->object_store[0].get();
  const SceneObject* box = scene->objects.at("box");
  ASSERT_EQ(box, scene->object_store[1].get());  // the later object wins the name
  EXPECT_TRUE(old_box->pos.x == 1.0 && old_box->body == nullptr && box->pos.x == 100.0);
  // An unknown name leaves the earlier reference: the pushed-out box, with no body to build on.
  EXPECT_TRUE(scene->ropes[0]->obj_a == old_box && scene->ropes[0]->obj_b == nullptr);
  EXPECT_TRUE(scene->ropes[0]->segments.empty());
  const auto joints = all<cpConstraint>(space(), cpSpaceEachConstraint);
  ASSERT_EQ(joints.size(), 1u);
  EXPECT_EQ(cpConstraintGetBodyA(joints[0]), box->body);
}

TEST_F(SceneItemsTest, BuildPhaseRunsObjectsThenRopesThenJoints) {
  const Scene* scene = load(
      "new_obj b\nobj_pos 200 0\nnew_obj a\nobj_pos 100 0\n"
      "new_joint_slide\njoint_obj_a a\njoint_obj_b  b\njoint_slide_min 5\njoint_slide_max 50\n"
      "new_rope\nrope_obj_a a\nrope_obj_b \t b\nrope_approx_seg_len 30\n");
  ASSERT_NE(scene, nullptr);
  EXPECT_EQ(output_, kReading);
  const SceneObject *a = scene->objects.at("a"), *b = scene->objects.at("b");
  const SceneRope& rope = *scene->ropes.at(0);
  ASSERT_TRUE(rope.obj_a == a && rope.obj_b == b && rope.segments.size() == 4u);
  std::vector<cpBody*> want = {a->body, b->body};  // objects in name order, then the rope
  want.insert(want.end(), rope.segments.begin(), rope.segments.end());
  EXPECT_EQ(all<cpBody>(space(), cpSpaceEachBody), want);
  const auto joints = all<cpConstraint>(space(), cpSpaceEachConstraint);
  ASSERT_EQ(joints.size(), 9u);  // the rope's 8 pivots, then the joint
  cpConstraint* slide = joints[8];
  ASSERT_TRUE(cpConstraintIsSlideJoint(slide));
  EXPECT_TRUE(cpConstraintGetBodyA(slide) == a->body && cpConstraintGetBodyB(slide) == b->body);
  EXPECT_TRUE(cpSlideJointGetMin(slide) == 5.0 && cpSlideJointGetMax(slide) == 50.0);
}

}  // namespace
