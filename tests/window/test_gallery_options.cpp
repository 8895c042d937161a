// -C, --version and --frames on the real programs.
#include <gtest/gtest.h>

#include <filesystem>

#include "process.h"

namespace {

const char kFallingRed[] = "scene_gravity 0 500\nnew_obj box\nobj_mesh red.obj\nobj_pos 512 200\n";

TEST(SharedOptions, DashCReadsSceneMeshesAndOutputInTheDirectory) {
  Scratch dir;
  writePaints();
  std::filesystem::create_directory("sub");
  for (const char* file : {"red.obj", "red.mtl"}) std::filesystem::copy(file, "sub");
  writeFile("sub/scene.txt", "new_obj box\nobj_mesh red.obj\nobj_pos 200 300\nobj_mass 0\n");
  const RunResult shot = run({QUILLMOOR_SNAPSHOT, "-C", "sub", "--out", "out.png"});
  EXPECT_EQ(shot.status, 0) << shot.err;
  EXPECT_EQ(shot.out,
            "Reading scene file 'scene.txt'..\nReading mesh file 'red.obj'..\n"
            "Reading material file 'red.mtl'..\n");
  const Image image = Image("sub/out.png");
  ASSERT_FALSE(image.rgb.empty());
  EXPECT_EQ(image.at(200, 300).r, 255);
  EXPECT_FALSE(std::filesystem::exists("out.png"));

  // Nothing is read when the directory cannot be entered; the viewer says so without a display.
  for (const char* program : {QUILLMOOR_VIEWER, QUILLMOOR_SNAPSHOT}) {
    const RunResult failed =
        run({"env", "-u", "DISPLAY", program, "-C", "missing", "--out", "x.png"});
    EXPECT_EQ(failed.status, 2) << program;
    EXPECT_EQ(failed.out, "") << program;
    EXPECT_NE(failed.err.find("cannot change to directory 'missing': No such file or directory"),
              std::string::npos)
        << failed.err;
    const RunResult version = run({"env", "-u", "DISPLAY", program, "--version"});
    EXPECT_EQ(version.status, 0) << program;
    EXPECT_EQ(version.out, std::filesystem::path(program).filename().string() + " " +
                               QUILLMOOR_VERSION_TEXT + "\n");
  }
}

TEST(Frames, ExactlyNDistinctPicturesAndTheSameInAnotherRun) {
  Scratch dir;
  writePaints();
  writeFile("scene.txt", kFallingRed);
  const std::vector<std::string> args{QUILLMOOR_SNAPSHOT, "--ticks", "5",       "--out", "run.png",
                                      "--frames",         "4",       "--every", "3"};
  const RunResult result = run(args);
  ASSERT_EQ(result.status, 0) << result.err;
  std::vector<std::string> pictures;
  for (const auto& entry : std::filesystem::directory_iterator("."))
    if (entry.path().extension() == ".png") pictures.push_back(entry.path().filename());
  std::sort(pictures.begin(), pictures.end());
  EXPECT_EQ(pictures, (std::vector<std::string>{"run-0001.png", "run-0002.png", "run-0003.png",
                                                "run-0004.png"}));
  for (size_t i = 1; i < pictures.size(); ++i)
    EXPECT_NE(readFile(pictures[i]), readFile(pictures[i - 1])) << i;
  // Frame k is the single picture after the actions and (k - 1) x K more ticks, byte for byte
  // in another run.
  ASSERT_EQ(run({QUILLMOOR_SNAPSHOT, "--ticks", "11", "--out", "single.png"}).status, 0);
  EXPECT_EQ(readFile("single.png"), readFile("run-0003.png"));
}

}  // namespace
