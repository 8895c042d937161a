#include <sys/stat.h>

#include "test_support.h"
#include "world/mesh.h"

class MeshFile : public ScratchDir {
 protected:
  using Rows = std::vector<std::vector<float>>;  // per triangle: its corners or its colour
  Mesh read(const std::string& text, const std::string& path = "m.obj") {
    write(path, text);
    testing::internal::CaptureStdout();
    auto mesh = loadMesh(path);
    output_ = testing::internal::GetCapturedStdout();
    EXPECT_NE(mesh, nullptr) << path;
    return mesh ? *mesh : Mesh{};
  }
  static Rows colors(const Mesh& m) {
    Rows out;
    for (const MeshTriangle& t : m.triangles) out.push_back({t.color.r, t.color.g, t.color.b});
    return out;
  }
};

TEST_F(MeshFile, FacesFanFromTheFirstCornerAndDropMissingVertices) {
  const std::pair<const char*, Rows> rows[] = {
      {"f 1 2 3 4 5", {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}}},
      {"f 1 2", {}},
      {" f 1 2 3\nf\t1 2 3", {}},
      {"f 1/2/3 4/5/6 7/8/9", {{0, 3, 6}}},
      {"f 0 1 2 3", {{0, 1, 2}}},
      {"f 4 -7 5 6", {{3, 4, 5}}},
      {"f 1 2\t3 4", {{0, 1, 3}}},
      {"f 1 2 3\t4", {{0, 1, 2}}},
      {"f 7  8 9", {{6, 7, 7}, {6, 7, 8}}},
      {"f 1 2 3 0 4 5", {{0, 1, 2}, {0, 3, 4}}},
      {"f 1 2 -2147483648\nf 3 2 1 10", {{2, 1, 0}}},
      {"f 1 2 10\nv 9 9 9", {{0, 1, 9}}}};  // a vertex further down counts
  for (const auto& [faces, want] : rows) {
    Rows got;
    for (const MeshTriangle& t :
         read("v 0 0 0\nv 0 0 0\nv 0 0 0\nv 0 0 0\nv 0 0 0\nv 0 0 0\nv 0 0 0\n"
              "v 0 0 0\nv 0 0 0\n" +
              std::string(faces) + "\n")
             .triangles)
      got.push_back({1.f * t.a, 1.f * t.b, 1.f * t.c});
    EXPECT_EQ(got, want) << faces;
    EXPECT_EQ(output_, "Reading mesh file 'm.obj'..\n") << faces;
  }
}

TEST_F(MeshFile, VerticesTakeXFromTheFirstNumberAndYFromTheThird) {
  Rows got;
  const char* text =
      "v 1 2 3\nv 0.1 -7 -2.5e2\nv 4 5\nv 6\n v 9 9 9\n\xEF\xBB\xBFv 9 9 9\nvt 9 9\n";
  for (const cpVect& v : read(text).vertices) got.push_back({float(v.x), float(v.y)});
  EXPECT_EQ(got, (Rows{{1, 3}, {0.1f, -250}, {4, 0}, {6, 0}}));
}

TEST_F(MeshFile, MaterialsColourLaterFacesAndMissingOnesAreReported) {
  ASSERT_EQ(mkdir("sub", 0755), 0);
  write("sub/a.mtl",
        "newmtl red\n  Kd 1 0 0\nnewmtl unlit\nnewmtl again\nKd 0 1 0\nnewmtl again\n"
        "\xEF\xBB\xBFnewmtl bom\n\t\x01Kd 0.5 0.5 0.5\nnewmtl\nkd 1 1 1\n");
  write("sub/gone.mtl", "newmtl green\nKd 0 1 0\n");  // mtllib paths start at the working dir
  const Mesh mesh = read(
      "v 0 0 0\nv 1 0 0\nv 0 0 1\nf 1 2 3\nusemtl red\nf 1 2 3\nmtllib sub/a.mtl\nusemtl red\n"
      "f 1 2 3\nusemtl nosuch\nf 1 2 3\nusemtl bom\nf 1 2 3\nusemtl unlit\nf 1 2 3\nusemtl red\n"
      "usemtl again\nf 1 2 3\nmtllib gone.mtl\nusemtl green\n",
      "sub/m.obj");
  EXPECT_EQ(colors(mesh),
            (Rows{{1, 1, 1}, {1, 1, 1}, {1, 0, 0}, {1, 0, 0}, {.5, .5, .5}, {0, 0, 0}, {0, 0, 0}}));
  EXPECT_EQ(output_,
            "Reading mesh file 'sub/m.obj'..\n(material 'red' not found!)\n"
            "Reading material file 'sub/a.mtl'..\n(material 'nosuch' not found!)\n"
            "Reading material file 'gone.mtl'..\nMATERIAL FILE NOT FOUND! ('gone.mtl')\n"
            "(material 'green' not found!)\n");
}

TEST_F(MeshFile, SceneCacheReadsEachWrittenPathOncePerLoad) {
  write("shared.mtl", "newmtl red\nKd 1 0 0\n");
  write("a.obj", "mtllib shared.mtl\nusemtl red\nv 0 0 0\nv 9 0 0\nv 0 0 9\nf 1 2 3\n");
  for (int round = 0; round < 2; ++round) {  // a reload reads everything again
    Scene* s = load(
        "new_obj a\nobj_mesh a.obj\nobj_col_mesh a.obj\nnew_obj b\nobj_mesh a.obj\n"
        "obj_col_mesh ./a.obj\nnew_obj c\nobj_mesh gone.obj\nobj_col_mesh gone.obj\n");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(output_,
              "Reading scene file 'scene.txt'..\nReading mesh file 'a.obj'..\n"
              "Reading material file 'shared.mtl'..\nReading mesh file './a.obj'..\n"
              "Reading material file 'shared.mtl'..\nReading mesh file 'gone.obj'..\n"
              "MESH FILE NOT FOUND! ('gone.obj')\n")
        << round;
    const SceneObject &a = *s->objects.at("a"), &b = *s->objects.at("b"), &c = *s->objects.at("c");
    ASSERT_TRUE(a.mesh && b.col_mesh);
    EXPECT_TRUE(a.col_mesh == a.mesh && b.mesh == a.mesh && b.col_mesh != a.mesh) << round;
    EXPECT_TRUE(!c.mesh && !c.col_mesh) << round;
    EXPECT_EQ(colors(*b.col_mesh), (Rows{{1, 0, 0}})) << round;  // each mesh read the MTL itself
  }
}
