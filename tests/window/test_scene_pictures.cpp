// What the newer scene keywords change in the picture, and the state file against it.
#include <gtest/gtest.h>

#include <regex>

#include "process.h"

namespace {

class Pictures : public testing::Test {
 protected:
  void SetUp() override { copyPaints(); }
  Image shot(const std::string& scene, const std::string& actions = "") {
    writeFile("scene.txt", scene);
    const RunResult result = run(QUILLMOOR_SNAPSHOT " " + actions + " --out out.png");
    EXPECT_EQ(result.status, 0) << result.err;
    return Image("out.png");
  }
  Scratch scratch_;
};

bool near(Pixel p, int r, int g, int b) {
  return std::abs(p.r - r) <= 8 && std::abs(p.g - g) <= 8 && std::abs(p.b - b) <= 8;
}

// A number of one object in the state file.
double stateValue(const std::string& json, const std::string& name, const std::string& key) {
  const std::regex pattern("\"name\": \"" + name + "\"[^}]*\"" + key + "\": ([-0-9.e+]+)");
  std::smatch found;
  EXPECT_TRUE(std::regex_search(json, found, pattern)) << name << " " << key << "\n" << json;
  return found.empty() ? NAN : std::stod(found[1]);
}

TEST_F(Pictures, LayersTurnedStaticObjectsAndColouredJoints) {
  // Two squares 100 wide on one spot: by name, zed is drawn last and wins; a lower layer puts it
  // below apple. The bar (100 x 10, green left, red right) is static and turned a quarter turn
  // clockwise: red below its centre. A pin joint in blue from a shapeless weight to the world.
  const std::string squares =
      "new_obj apple\nobj_mesh green.obj\nobj_pos 200 200\nobj_mass 0\n"
      "new_obj zed\nobj_mesh red.obj\nobj_pos 200 200\nobj_mass 0\n"
      "new_obj bar\nobj_mesh bar.obj\nobj_pos 500 300\nobj_mass 0\nobj_angle 90\n"
      "new_obj weight\nobj_pos 700 600\nnew_joint_pin\njoint_obj_a weight\n"
      "joint_anchor_b 900 600\njoint_color 0 0 1 1\n";
  Image picture = shot(squares);
  EXPECT_TRUE(near(picture.at(200, 200), 255, 0, 0));
  EXPECT_TRUE(near(picture.at(500, 330), 255, 0, 0));
  EXPECT_TRUE(near(picture.at(500, 270), 0, 255, 0));
  EXPECT_TRUE(near(picture.at(530, 300), 0, 0, 0));
  EXPECT_TRUE(near(picture.at(800, 600), 0, 0, 255));
  picture = shot(squares + "new_obj zed\nobj_mesh red.obj\nobj_pos 200 200\nobj_mass 0\n"
                           "obj_layer -1\n");
  EXPECT_TRUE(near(picture.at(200, 200), 0, 255, 0));
}

TEST_F(Pictures, TheStateFileSaysWhereThePictureShowsTheObjects) {
  // A square thrown right at 120 units a second in zero gravity, a quarter of a second; a
  // stretched spring that breaks at any force.
  const std::string scene =
      "new_obj box\nobj_mesh red.obj\nobj_pos 300 400\nobj_velocity 120 0\nobj_spin 30\n"
      "new_obj post\nobj_mesh green.obj\nobj_pos 800 400\nobj_mass 0\n"
      "new_obj bob\nobj_pos 600 650\nnew_joint_spring\njoint_obj_a bob\njoint_anchor_b 600 500\n"
      "joint_rest_length 10\njoint_stiffness 5\njoint_break_force 0\n";
  const Image picture = shot(scene, "--ticks 15 --state state.json");
  const std::string json = readFile("state.json");
  EXPECT_NE(json.find("{\"tick\": 15, \"objects\": ["), std::string::npos) << json;
  EXPECT_NEAR(stateValue(json, "box", "x"), 300 + 120 * 15 / 60.0, 1e-9);
  EXPECT_NEAR(stateValue(json, "box", "angle"), 30 * 15 / 60.0, 1e-9);
  EXPECT_EQ(stateValue(json, "post", "x"), 800);
  EXPECT_NE(json.find("\"kind\": \"spring\", \"broken\": true"), std::string::npos) << json;
  // The square's left edge, 50 left of its centre, is where the state puts the centre.
  const int left = static_cast<int>(std::lround(stateValue(json, "box", "x") - 50));
  EXPECT_TRUE(near(picture.at(left + 3, 400), 255, 0, 0));
  EXPECT_TRUE(near(picture.at(left - 3, 400), 0, 0, 0));
}

}  // namespace
