// The diagnostics of the readers and builders: one table of small scenes, each with exactly the
// diagnostics expected; the demo and the examples check clean; the viewer's messages stay as they
// are.
#include <sys/stat.h>
#include <sys/wait.h>

#include <sstream>

#include "test_support.h"
#include "world/load_scene.h"
#include "world/physics.h"

namespace {

struct CheckCase {
  const char* name;
  std::string scene;
  std::vector<std::pair<std::string, std::string>> files;  // written before the scene
  // "FILE:LINE: warning" or "FILE:LINE: note", and words the text must hold.
  std::vector<std::pair<std::string, std::string>> expected;
};

const std::string kSquare = "v -25 0 -25\nv 25 0 -25\nv 25 0 25\nv -25 0 25\nf 1 2 3 4\n";
const std::string kMover = "obj_col_line 0 0 10 0 1\nobj_pos 100 100\n";  // moving, in view

const CheckCase kCases[] = {
    {"comments and blanks stay silent",
     "# a\n; b\n// c\n   # indented\n\t// tabbed\n\n  \nscene_gravity 0 500\nscene_fps 30 fast\n",
     {},
     {}},
    {"near-miss keywords, tabs, indentation",
     "scene_gravty 0 500\nScene_fps 30\nscene_fps\t30\n  scene_damping 0.5\nnew_obj a\n"
     "obj_colour 1\nhello world\nscene_scroller_textHello\n" +
         kMover,
     {},
     {{"scene.txt:1: warning", "did you mean 'scene_gravity'?"},
      {"scene.txt:2: warning", "did you mean 'scene_fps'?"},
      {"scene.txt:3: warning", "tab after 'scene_fps'"},
      {"scene.txt:4: warning", "indented line"},
      {"scene.txt:6: warning", "unknown keyword 'obj_colour'"},
      {"scene.txt:8: warning", "did you mean 'scene_scroller_text'?"}}},
    {"values that do not convert, long lines",
     "scene_gravity 0\nscene_step_iterations x\nobj_mass 2\nscene_scroller_text " +
         std::string(1100, 'x') + "\n#" + std::string(1100, 'y') +
         "\nnew_obj\nobj_col_line 1 2 3\nscene_solver_iterations 12.5\nscene_glow_enabled 1 # on\n",
     {},
     {{"scene.txt:1: warning", "scene_gravity needs 2 numbers, found 1"},
      {"scene.txt:2: warning", "needs a whole number, found none"},
      {"scene.txt:3: warning", "No active object for: obj_mass 2"},
      {"scene.txt:4: warning", "longer than 1023"},
      {"scene.txt:7: warning", "obj_col_line needs 4 or 5 numbers, found 3"},
      {"scene.txt:8: warning", "scene_solver_iterations needs a whole number: it reads as 12"},
      {"scene.txt:6: warning", "no collision shape"}}},
    {"references, duplicates, declarations with more text",
     "new_joint_pin\njoint_obj_a b\nnew_obj b\n" + kMover +
         "new_obj s\nobj_mass 0\nnew_obj s\nobj_mass 0\nnew_joint_slide // limits\n"
         "joint_slide_max 40\nnew_rope\nrope_obj_a bx\n",
     {},
     {{"scene.txt:2: warning", "Joint tried to use an object not yet created: 'b'"},
      {"scene.txt:3: note", "'b' is declared here"},
      {"scene.txt:8: warning", "duplicate object: 's'"},
      {"scene.txt:6: note", "first declared here"},
      {"scene.txt:10: warning",
       "declares nothing: the joint_ lines below change the joint "
       "declared at line 1"},
      {"scene.txt:1: note", "the joint they change"},
      {"scene.txt:13: warning", "'bx': no object of that name is declared (did you mean 'b'?)"},
      {"scene.txt:12: warning", "rope is left out: neither end is a moving object"},
      {"scene.txt:1: warning", "joint is left out: it names no object"}}},
    {"mesh and material problems, with the scene line that read them",
     "new_obj a\nobj_mass 0\nobj_mesh m.obj\n",
     {{"m.obj",
       "mtllib c.mtl\nv 1 2\nv 0 0 0\nv 10 0 0\nv 0 0 10\nf 1\t2 3 4\nf 2 3 9\n"
       "usemtl x\nf 2 3\n\tf 2 3 4\nv\t1 2 3\n# f 1 2\n"},
      {"c.mtl", "newmtl x\nKd 1 0\n"}},
     {{"c.mtl:2: warning", "Kd needs 3 numbers, found 2"},
      {"m.obj:1: note", "'c.mtl' was read for this line"},
      {"scene.txt:3: note", "'m.obj' was read for this line"},
      {"m.obj:2: warning", "v needs 3 numbers (x, unused, y), found 2"},
      {"scene.txt:3: note", "'m.obj' was read"},
      {"m.obj:6: warning", "tab inside a face line"},
      {"scene.txt:3: note", "'m.obj' was read"},
      {"m.obj:9: warning", "face adds no triangle"},
      {"scene.txt:3: note", "'m.obj' was read"},
      {"m.obj:10: warning", "indented line"},
      {"scene.txt:3: note", "'m.obj' was read"},
      {"m.obj:11: warning", "tab after 'v'"},
      {"scene.txt:3: note", "'m.obj' was read"},
      {"m.obj:7: warning", "face names vertex 9, but the file has 4"},
      {"scene.txt:3: note", "'m.obj' was read"}}},
    {"flat meshes, and what the builders leave out or replace",
     "scene_fps 0\nscene_solver_iterations 0\nscene_damping -1\nnew_obj f\nobj_mass 0\n"
     "obj_col_mesh flat.obj\nobj_friction -1\nnew_obj s\nobj_mass 0\nnew_rope\nrope_obj_a s\n"
     "new_joint_pin\njoint_obj_a s\nnew_obj n\nobj_pos nan 0\n",
     {{"flat.obj", "v 0 0 0\nv 10 10 0\nv 0 10 0\nf 1 2 3\n"}},
     {{"scene.txt:1: warning", "scene_fps 0 runs at 60"},
      {"scene.txt:2: warning", "keeps the default 10"},
      {"scene.txt:3: warning", "scene_damping -1 keeps the default 1"},
      {"scene.txt:7: warning", "obj_friction -1 is used as 0"},
      {"scene.txt:15: warning", "object 'n' is left out: its position or scale is not finite"},
      {"scene.txt:10: warning",
       "rope is left out: neither end is a moving object (end a: 's' "
       "is static, end b: no object)"},
      {"scene.txt:12: warning", "joint is left out: its first object 's' is static"},
      {"scene.txt:6: warning", "every triangle of 'flat.obj' has zero area"}}},
    {"world points at static ends, ropes without substeps, objects out of view",
     "new_obj hook\nobj_mass 0\nobj_pos 100 50\nnew_obj a\n" + kMover +
         "new_joint_pin\njoint_obj_a a\njoint_obj_b hook\nnew_rope\nrope_obj_a a\n"
         "rope_anchor_b -50 100\nnew_obj far\nobj_mass 0\nobj_col_line 0 0 10 0 1\n"
         "obj_pos 2000 100\nnew_joint_pin\njoint_obj_a a\njoint_anchor_b 100 100\n",
     {},
     {{"scene.txt:12: warning", "outside the 1024 x 768 view: at a static or missing end"},
      {"scene.txt:7: warning",
       "joint end on static 'hook' at (100, 50) is tied to the world "
       "point (0, 0)"},
      {"scene.txt:17: warning", "pin joint of length 0"},
      {"scene.txt:10: warning", "ropes need scene_step_iterations 4 or more"},
      {"scene.txt:16: warning", "'far' lies entirely outside the 1024 x 768 view"}}},
    {"a shapeless bob on a joint and a body dropped in from above are meant",
     "scene_gravity 0 500\nnew_obj bob\nobj_pos 100 100\nnew_joint_pin\njoint_obj_a bob\n"
     "joint_anchor_b 100 50\nnew_obj drop\nobj_col_line 0 0 10 0 1\nobj_pos 100 -100\n"
     "new_obj sky\nobj_mass 0\nobj_col_line 0 0 10 0 1\nobj_pos 100 -100\n",
     {},
     {{"scene.txt:13: warning", "'sky' lies entirely outside the 1024 x 768 view"}}},
    {"overlaps and frictionless resting contacts at the start",
     "scene_gravity 0 500\nnew_obj floor\nobj_mass 0\nobj_col_line 0 0 1000 0 10\n"
     "obj_pos 0 700\nnew_obj crate\nobj_col_mesh sq.obj\nobj_pos 500 665\nnew_obj sunk\n"
     "obj_col_mesh sq.obj\nobj_pos 200 700\nobj_friction 1\nnew_obj held\nobj_col_mesh sq.obj\n"
     "obj_pos 800 665\nobj_friction 0.5\n",
     {{"sq.obj", kSquare}},
     {{"scene.txt:6: warning", "'crate' starts resting on 'floor' with friction 0 on both"},
      {"scene.txt:11: warning", "'sunk' starts overlapping static 'floor' by 35"}}},
};

class Check : public ScratchDir {
 protected:
  // Loads as the checker does; returns its diagnostics, and what was printed in `printed`.
  Diagnostics check(const char* path, std::string& printed) {
    Diagnostics diag;
    cpSpace* space = newSpace();
    testing::internal::CaptureStdout();
    std::unique_ptr<Scene> scene = loadScene(path, space, &diag);
    printed = testing::internal::GetCapturedStdout();
    freeSpace(space);
    return diag;
  }
};

std::string format(const Diagnostic& d) {
  std::ostringstream out;
  out << d.place.file << ":" << d.place.line << ": "
      << (d.severity == Severity::Warning ? "warning" : "note");
  return out.str();
}

TEST_F(Check, EachSceneGivesExactlyItsDiagnosticsAndTheSameMessages) {
  for (const CheckCase& c : kCases) {
    SCOPED_TRACE(c.name);
    for (const auto& [file, text] : c.files) write(file, text);
    load(c.scene);  // as the viewer does, without the sink
    std::string printed;
    const Diagnostics diag = check("scene.txt", printed);
    // The sink changes nothing the viewer prints.
    EXPECT_EQ(printed, output_);
    ASSERT_EQ(diag.list.size(), c.expected.size()) << [&] {
      std::string all;
      for (const Diagnostic& d : diag.list) all += format(d) + ": " + d.text + "\n";
      return all;
    }();
    for (size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_EQ(format(diag.list[i]), c.expected[i].first) << diag.list[i].text;
      EXPECT_NE(diag.list[i].text.find(c.expected[i].second), std::string::npos)
          << diag.list[i].text;
    }
  }
}

TEST_F(Check, MeshBesideTheSceneButNotInTheWorkingDirectoryIsPointedOut) {
  ASSERT_EQ(mkdir("sub", 0755), 0);
  write("sub/m.obj", kSquare);
  write("sub/scene.txt", "new_obj a\nobj_mesh m.obj\nobj_mass 0\n");
  std::string printed;
  const Diagnostics diag = check("sub/scene.txt", printed);
  ASSERT_EQ(diag.list.size(), 2u);
  EXPECT_EQ(format(diag.list[0]) + ": " + diag.list[0].text,
            "sub/scene.txt:2: warning: MESH FILE NOT FOUND! ('m.obj')");
  EXPECT_EQ(format(diag.list[1]), "sub/scene.txt:2: note");
  EXPECT_NE(diag.list[1].text.find("(cd sub) or with -C sub"), std::string::npos);
  EXPECT_EQ(diag.opened, (std::vector<std::string>{"sub/scene.txt", "m.obj"}));
}

TEST_F(Check, TheDemoAndEveryExampleCheckClean) {
  for (const char* dir :
       {"demo", "examples/bridge", "examples/cradle", "examples/galton", "examples/glow",
        "examples/machine", "examples/pyramid", "examples/stress"}) {
    ASSERT_EQ(chdir((std::string(QUILLMOOR_SOURCE_DIR "/") + dir).c_str()), 0);
    std::string printed;
    const Diagnostics diag = check("scene.txt", printed);
    for (const Diagnostic& d : diag.list)
      ADD_FAILURE() << dir << "/" << format(d) << ": " << d.text;
    EXPECT_GT(diag.opened.size(), 1u) << dir;
  }
}

// The checker program: its output, summary and exit status.
TEST_F(Check, CheckerReportsInCompilerFormWithItsExitStatus) {
  write("clean.txt", "# nothing\nscene_fps 30\n");
  write("bad.txt", "scene_fsp 30\n");
  ASSERT_EQ(mkdir("sub", 0755), 0);
  write("sub/scene.txt", "scene_fps\t30\n");
  const auto run = [](const std::string& args) {
    const std::string command = std::string(QUILLMOOR_CHECK) + " " + args + " >out 2>err";
    const int status = std::system(command.c_str());
    std::ifstream out("out"), err("err");
    std::stringstream o, e;
    o << out.rdbuf(), e << err.rdbuf();
    return std::make_tuple(WEXITSTATUS(status), o.str(), e.str());
  };
  EXPECT_EQ(
      run("clean.txt"),
      std::make_tuple(0, std::string(), std::string("quillmoor-check: 0 warnings in 1 file\n")));
  const auto [status, out, err] = run("clean.txt bad.txt");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(out,
            "bad.txt:1: warning: unknown keyword 'scene_fsp' is ignored (did you mean "
            "'scene_fps'?)\n");
  EXPECT_EQ(err, "quillmoor-check: 1 warning in 2 files\n");
  EXPECT_EQ(std::get<0>(run("-C sub")), 1);  // scene.txt by default, in the folder given
  EXPECT_EQ(std::get<0>(run("clean.txt missing.txt")), 2);
  EXPECT_EQ(std::get<0>(run("-C nowhere")), 2);
  EXPECT_EQ(std::get<0>(run("--bogus")), 2);
  EXPECT_EQ(std::get<0>(run("--help")), 0);
}

}  // namespace

namespace {

// What the format reference says of a tab inside a face: the corner after it is skipped.
TEST_F(Check, ATabInsideAFaceSkipsTheCornerAfterIt) {
  write("tab.obj", "v 0 0 0\nv 1 0 0\nv 1 0 1\nv 0 0 1\nf 1\t2 3 4\n");
  testing::internal::CaptureStdout();
  const std::unique_ptr<Mesh> mesh = loadMesh("tab.obj");
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(mesh->triangles.size(), 1u);
  EXPECT_EQ(std::vector<int>({mesh->triangles[0].a, mesh->triangles[0].b, mesh->triangles[0].c}),
            std::vector<int>({0, 2, 3}));
}

}  // namespace
