// Meshes, the builders and the physics: scene files built into a space, and how it then moves.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <regex>
#include <sstream>

#include "test_support.h"
#include "world/builders.h"
#include "world/load_scene.h"
#include "world/mesh.h"
#include "world/physics.h"
#include "world/state_json.h"

namespace {

class Built : public testing::Test {
 protected:
  Built() { initPhysics(); }  // before any space, so its banner never reaches captured output
  // Reads and builds the scene into a new world, as a reset does.
  const Scene& load(const std::string& text) {
    writeFile("scene.txt", text);
    testing::internal::CaptureStdout();
    Reporter report;
    world_ = loadWorld("scene.txt", report);
    output_ = testing::internal::GetCapturedStdout();
    space_ = world_->space;
    return *world_->scene;
  }
  cpBody* body(const char* name) {  // nullptr: the static body
    return name ? world_->of(*world_->scene->objects.at(name)).body : world_->static_body;
  }
  cpVect at(const char* name) { return cpBodyGetPosition(body(name)); }
  // Runs ticks of 1/60 s in four steps each, calling watch(tick) after each; every body must
  // stay finite.
  void run(int ticks, const std::function<void(int)>& watch = {}) {
    for (int i = 1; i <= ticks; ++i)
      if (stepSpace(space_, 4, 1.0 / 240); watch) watch(i);
    for (cpBody* b : all<cpBody>(space_, cpSpaceEachBody)) {
      const cpVect p = cpBodyGetPosition(b), v = cpBodyGetVelocity(b);
      ASSERT_TRUE(std::isfinite(p.x + p.y + v.x + v.y + cpBodyGetAngularVelocity(b)));
    }
  }
  Scratch scratch_;
  cpSpace* space_ = nullptr;
  std::unique_ptr<World> world_;
  std::string output_;
};

TEST_F(Built, MeshFacesFanFromTheFirstCornerAndKeepOnlyCornersWithAVertex) {
  const std::pair<const char*, const char*> rows[] = {
      {"f 1 2 3 4 5", "012 023 034 "},
      {"f 1 2\n f 1 2 3\nf\t1 2 3", ""},
      {"f 1/2/3 4/5/6 7/8/9", "036 "},
      {"f 0 1 2 3\nf 4 -7 5 6", "012 345 "},
      {"f 1 2\t3 4\nf 7  8 9", "013 677 678 "},
      {"f 1 2 -2147483648\nf 1 2 99999999999\nf 2147483647 1 2\nf 3 2 1 10", "210 "},
      {"f 1 2 10\nv 9 9 9", "019 "}};  // a vertex further down counts
  std::string vertices;
  for (int i = 0; i < 9; ++i) vertices += "v 0 0 0\n";
  for (const auto& [faces, want] : rows) {
    writeFile("m.obj", vertices + faces + "\n");
    Reporter report;
    const auto mesh = loadMesh("m.obj", report);
    std::ostringstream got;
    for (const MeshTriangle& t : mesh->triangles) got << t.a << t.b << t.c << ' ';
    EXPECT_EQ(got.str(), want) << faces;
  }
  writeFile("v.obj", "v 1 2 3\nv 0.1 -7 -2.5e2\nv 4 5\nv 6\n v 9\n\xEF\xBB\xBFv 9\nvt 9 9\n");
  std::ostringstream got;  // x is the first number, y the third; missing numbers read as 0
  Reporter quiet;
  for (const cpVect& v : std::vector<cpVect>(loadMesh("v.obj", quiet)->vertices))
    got << v.x << ',' << v.y << ' ';
  EXPECT_EQ(got.str(), "1,3 0.1,-250 4,0 6,0 ");
}

TEST_F(Built, MaterialsColourLaterFacesAndEachMeshIsReadOncePerLoad) {
  // sub/m.obj colours its faces from sub/a.mtl, and names gone.mtl, which is in sub/ too: mtllib
  // paths start at the working folder.
  std::filesystem::copy(QUILLMOOR_SOURCE_DIR "/tests/data/world", ".",
                        std::filesystem::copy_options::recursive);
  ASSERT_EQ(mkdir("folder", 0755), 0);
  const std::string m =
      "Reading mesh file 'sub/m.obj'..\n(material 'red' not found!)\n"
      "Reading material file 'sub/a.mtl'..\n(material 'nosuch' not found!)\n"
      "Reading material file 'gone.mtl'..\nMATERIAL FILE NOT FOUND! ('gone.mtl')\n"
      "(material 'green' not found!)\n";
  for (int round = 0; round < 2; ++round) {  // a reload reads everything again
    const Scene& s = load(
        "new_obj a\nobj_mesh sub/m.obj\nobj_col_mesh sub/m.obj\nnew_obj b\n"
        "obj_mesh sub/m.obj\nobj_col_mesh ./sub/m.obj\nnew_obj c\n"
        "obj_mesh gone.obj\nobj_col_mesh folder\n");
    EXPECT_EQ(output_, "Reading scene file 'scene.txt'..\n" + m +
                           std::regex_replace(m, std::regex("sub/m"), "./sub/m") +
                           "Reading mesh file 'gone.obj'..\nMESH FILE NOT FOUND! ('gone.obj')\n"
                           "Reading mesh file 'folder'..\nMESH FILE NOT FOUND! ('folder')\n");
    const SceneObject &a = *s.objects.at("a"), &b = *s.objects.at("b"), &c = *s.objects.at("c");
    ASSERT_NE(a.mesh, nullptr);
    ASSERT_NE(b.col_mesh, nullptr);
    EXPECT_EQ(c.mesh, nullptr);
    EXPECT_EQ(c.col_mesh, nullptr);
    EXPECT_EQ(a.col_mesh, a.mesh);
    EXPECT_EQ(b.mesh, a.mesh);
    EXPECT_NE(b.col_mesh, a.mesh);  // another spelling of the path reads the file again
    std::ostringstream colours;
    for (const MeshTriangle& t : b.col_mesh->triangles)
      colours << t.color.r << t.color.g << t.color.b << ' ';
    EXPECT_EQ(colours.str(), "111 111 100 100 0.50.50.5 000 000 ");
  }
}

// The built world, item by item: the space (solver iterations, gravity, damping), bodies (mass,
// moment, position, angle), shapes (kind, body number, 0 being the static body, bounding box,
// elasticity, friction), then constraints (kind, body numbers, then distance, range or world
// pivot).
std::string describe(cpSpace* space, cpBody* fixed) {
  std::vector<cpBody*> bodies = all<cpBody>(space, cpSpaceEachBody);
  bodies.insert(bodies.begin(), fixed);
  const auto number = [&](cpBody* b) {
    return std::find(bodies.begin(), bodies.end(), b) - bodies.begin();
  };
  std::ostringstream out;
  out << "space " << cpSpaceGetIterations(space) << ' ' << cpSpaceGetGravity(space).x << ','
      << cpSpaceGetGravity(space).y << ' ' << cpSpaceGetDamping(space) << "; ";
  for (size_t i = 1; i < bodies.size(); ++i) {
    const cpVect p = cpBodyGetPosition(bodies[i]);
    out << "body " << cpBodyGetMass(bodies[i]) << ' ' << cpBodyGetMoment(bodies[i]) << ' ' << p.x
        << ',' << p.y << ' ' << cpBodyGetAngle(bodies[i]);
    const cpVect v = cpBodyGetVelocity(bodies[i]);
    if (v.x != 0 || v.y != 0 || cpBodyGetAngularVelocity(bodies[i]) != 0)
      out << " v " << v.x << ',' << v.y << ' ' << cpBodyGetAngularVelocity(bodies[i]);
    out << "; ";
  }
  for (cpShape* s : all<cpShape>(space, cpSpaceEachShape)) {
    const cpBB bb = cpShapeGetBB(s);
    const auto* object = static_cast<const SceneObject*>(cpShapeGetUserData(s));
    const char* kind = shapeKind(s) == ShapeKind::Circle ? "circle " : object->col_mesh ? "tri " : "line ";
    out << kind << number(cpShapeGetBody(s)) << ' ' << bb.l << ',' << bb.b << ',' << bb.r << ','
        << bb.t << ' ' << cpShapeGetElasticity(s) << ' ' << cpShapeGetFriction(s);
    if (cpShapeGetFilter(s).group) out << " group " << cpShapeGetFilter(s).group;
    out << "; ";
  }
  for (cpConstraint* c : all<cpConstraint>(space, cpSpaceEachConstraint)) {
    out << number(cpConstraintGetBodyA(c)) << '-' << number(cpConstraintGetBodyB(c));
    if (cpConstraintIsPinJoint(c)) out << " pin " << cpPinJointGetDist(c) << "; ";
    if (cpConstraintIsSlideJoint(c))
      out << " slide " << cpSlideJointGetMin(c) << ' ' << cpSlideJointGetMax(c) << "; ";
    if (cpConstraintIsPivotJoint(c)) {
      const cpVect p = cpBodyLocalToWorld(cpConstraintGetBodyA(c), cpPivotJointGetAnchorA(c));
      const cpVect q = cpBodyLocalToWorld(cpConstraintGetBodyB(c), cpPivotJointGetAnchorB(c));
      out << " pivot " << p.x << ',' << p.y;
      if (cpvdist(p, q) > 1e-9) out << ' ' << q.x << ',' << q.y;
      out << "; ";
    }
    if (cpConstraintIsGrooveJoint(c))
      out << " groove " << cpGrooveJointGetGrooveA(c).x << ',' << cpGrooveJointGetGrooveA(c).y
          << ' ' << cpGrooveJointGetGrooveB(c).x << ',' << cpGrooveJointGetGrooveB(c).y << ' '
          << cpGrooveJointGetAnchorB(c).x << ',' << cpGrooveJointGetAnchorB(c).y << "; ";
    if (cpConstraintIsDampedSpring(c))
      out << " spring " << cpDampedSpringGetRestLength(c) << ' '
          << cpDampedSpringGetStiffness(c) << ' ' << cpDampedSpringGetDamping(c) << "; ";
    if (cpConstraintIsDampedRotarySpring(c))
      out << " rotary_spring " << cpDampedRotarySpringGetRestAngle(c) << ' '
          << cpDampedRotarySpringGetStiffness(c) << ' ' << cpDampedRotarySpringGetDamping(c) << "; ";
    if (cpConstraintIsRotaryLimitJoint(c))
      out << " rotary_limit " << cpRotaryLimitJointGetMin(c) << ' '
          << cpRotaryLimitJointGetMax(c) << "; ";
    if (cpConstraintIsRatchetJoint(c))
      out << " ratchet " << cpRatchetJointGetPhase(c) << ' ' << cpRatchetJointGetRatchet(c)
          << "; ";
    if (cpConstraintIsGearJoint(c))
      out << " gear " << cpGearJointGetPhase(c) << ' ' << cpGearJointGetRatio(c) << "; ";
    if (cpConstraintIsSimpleMotor(c)) out << " motor " << cpSimpleMotorGetRate(c) << "; ";
    if (cpConstraintGetMaxForce(c) != INFINITY) out << "max " << cpConstraintGetMaxForce(c) << "; ";
    if (!cpConstraintGetCollideBodies(c)) out << "apart; ";
  }
  return out.str();
}

TEST_F(Built, ScenesBuildIntoBodiesShapesAndConstraints) {
  std::filesystem::copy(QUILLMOOR_SOURCE_DIR "/tests/data/world", ".");
  std::ifstream table("builds.txt");
  std::string lines = "new_obj a\n", regenerated;
  for (std::string line; std::getline(table, line);) {
    if (line.rfind("= ", 0) != 0) {
      lines += line + "\n";
      regenerated += line + "\n";
    } else {  // the scene so far builds into this world, and its description into it again
      load(lines);
      const std::string built = describe(space_, body(nullptr));
      regenerated += "= " + built.substr(0, built.size() - 1) + "\n";
      EXPECT_EQ(built, line.substr(2) + " ") << lines;
      const std::unique_ptr<World> again = buildWorld(world_->scene);
      EXPECT_EQ(describe(again->space, again->static_body), built) << lines;
      run(60);
      stepSpace(again->space, 4 * 60, 1.0 / 240);  // the same motion, to the last bit
      EXPECT_EQ(stateHash(again->space), stateHash(space_)) << lines;
      lines = "new_obj a\n";
    }
  }
  if (regenerating()) writeFile(QUILLMOOR_SOURCE_DIR "/tests/data/world/builds.txt", regenerated);
  // Half a million segments would exhaust memory: the count is capped, the segments longer.
  load("new_obj a\nnew_rope\nrope_obj_a a\nrope_anchor_b 500 0\nrope_approx_seg_len 0.001\n");
  EXPECT_EQ(world_->ropes[0].segments.size(), size_t{kMaxRopeSegments});
  EXPECT_FLOAT_EQ(world_->ropes[0].seg_len, 500.0f / kMaxRopeSegments);
}

// A bounce a billion billion times as strong as the fall: the contact flings the box, and the
// speed guard holds every step's move to kMaxBodySpeed (the position stays far from the
// coordinate cap it would otherwise meet in one step).
TEST_F(Built, ASpeedBeyondTheGuardMovesNoFurtherThanItsLimit) {
  load(
      "scene_gravity 0 500\nnew_obj floor\nobj_mass 0\nobj_bounciness 1e30\n"
      "obj_col_line 0 400 1024 400 5\nnew_obj box\nobj_pos 500 380\nobj_bounciness 1e30\n"
      "obj_col_line -10 0 10 0 5\n");
  double fastest = 0;
  cpVect previous = at("box");
  run(60, [&](int tick) {
    fastest = std::fmax(fastest, cpvlength(cpBodyGetVelocity(body("box"))));
    EXPECT_LE(cpvdist(at("box"), previous), 4 * kMaxBodySpeed / 240 * 1.0001) << tick;
    previous = at("box");
  });
  EXPECT_GT(fastest, 0.99 * kMaxBodySpeed);  // flung as fast as the guard lets it
  // Damping far above 1 multiplies the speed every step; the guard holds it between steps.
  load("scene_gravity 0 500\nscene_damping 1e38\nnew_obj stone\nobj_pos 500 100\n");
  run(60, [&](int tick) {
    EXPECT_LE(cpvlength(cpBodyGetVelocity(body("stone"))), kMaxBodySpeed * 1.0001) << tick;
  });
}

TEST_F(Built, BodiesSwingHangAndRestAsThePhysicsSays) {
  // A bob 200 below its pivot let go 0.05 rad off the vertical, a weight on a rope, a box
  // dropped on a floor.
  writeFile("box.obj", "v -20 0 -20\nv 20 0 -20\nv 20 0 20\nv -20 0 20\nf 1 2 3 4\n");
  load(
      "scene_gravity 0 500\nnew_obj bob\nobj_pos 521.99583 299.75003\nnew_joint_pin\n"
      "joint_obj_a bob\njoint_anchor_b 512 100\nnew_obj weight\nobj_pos 200 300\nnew_rope\n"
      "rope_obj_a weight\nrope_anchor_b 200 100\nnew_obj floor\nobj_mass 0\nobj_pos 0 700\n"
      "obj_col_line 0 0 1024 0 5\nnew_obj box\nobj_pos 812 500\nobj_col_mesh box.obj\n");
  std::vector<double> crossings;  // ticks at which the bob passes under its pivot, interpolated
  double previous = 9.99583, low = 1e9, high = 0;
  run(60 * 20, [&](int tick) {
    const double x = at("bob").x - 512, rope = cpvdist(at("weight"), cpv(200, 100));
    if ((previous > 0) != (x > 0)) crossings.push_back(tick - 1 + previous / (previous - x));
    previous = x, low = std::fmin(low, rope), high = std::fmax(high, rope);
  });
  ASSERT_GE(crossings.size(), 9u);
  const double period = 2 * (crossings.back() - crossings.front()) / (crossings.size() - 1) / 60;
  EXPECT_NEAR(period / (2 * M_PI * std::sqrt(200.0 / 500)), 1.0, 0.01) << period;
  EXPECT_GT(low, 198);  // the rope keeps its length
  EXPECT_LT(high, 202);
  EXPECT_NEAR(at("weight").x, 200, 0.01);  // and hangs without drift
  EXPECT_LT(cpvdist(at("box"), cpv(812, 675)) + std::abs(cpBodyGetAngle(body("box"))), 0.5);
}

}  // namespace

namespace {

// Names in the state file are JSON strings of well-formed UTF-8 whatever bytes they hold, and
// every number reads back as the double the physics holds.
TEST_F(Built, TheStateFileQuotesEveryNameAndKeepsEveryBit) {
  load("new_obj a\"b\nobj_pos 0.1 3\nnew_obj c\\d\nnew_obj \xc3\xa9t\xc3\xa9\nnew_obj x\xff\x01y\n"
       "new_obj \xe2\x82\n");
  const std::string json = stateJson(*world_);
  for (const char* quoted : {R"("a\"b")", R"("c\\d")", "\"\xc3\xa9t\xc3\xa9\"",
                             R"("x\ufffd\u0001y")", R"("\ufffd\ufffd")"})
    EXPECT_NE(json.find(std::string("\"name\": ") + quoted), std::string::npos) << quoted;
  const size_t x = json.find("\"x\": ", json.find("a\\\"b"));
  EXPECT_EQ(std::strtod(json.c_str() + x + 5, nullptr), static_cast<double>(0.1f));
}

}  // namespace
