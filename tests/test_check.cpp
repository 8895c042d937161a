// The diagnostics of the readers and builders, each scene with exactly the lines expected, and
// the viewer's messages as they are; the checker program.
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>

#include "test_support.h"

namespace {

class Check : public ScratchDir {};

// The checker program's exit status; its output is left in the files out and err.
int checker(const std::string& args) {
  const std::string command = std::string(QUILLMOOR_CHECK) + " " + args + " >out 2>err";
  return WEXITSTATUS(std::system(command.c_str()));
}

// Each folder under tests/check holds a scene.txt, or sub/scene.txt, (and the files it reads) and
// the exact lines its check gives, in order, in `expected`: the same from a reset with
// diagnostics, as --watch makes, and from the checker program. An `output` file holds what the
// viewer prints. A `fixed/` folder holds the files as corrected by doing what each line says:
// copied over the scene, they leave nothing to report.
TEST_F(Check, EachSceneGivesExactlyItsDiagnosticsAndTheSameMessages) {
  int folders = 0, fixedFolders = 0;
  const auto copyOver = std::filesystem::copy_options::recursive |
                        std::filesystem::copy_options::overwrite_existing;
  for (const auto& entry :
       std::filesystem::directory_iterator(QUILLMOOR_SOURCE_DIR "/tests/check")) {
    SCOPED_TRACE(entry.path().filename());
    ++folders;
    std::filesystem::copy(entry.path(), ".", std::filesystem::copy_options::recursive);
    std::filesystem::remove_all("fixed");  // the fix must not change what the scene reports
    const char* scene = std::filesystem::exists("scene.txt") ? "scene.txt" : "sub/scene.txt";
    EXPECT_TRUE(loadFile(scene));
    const std::string plain = output_;
    if (std::filesystem::exists("output")) expectGolden(entry.path() / "output", plain);
    app_.options.watch = true;
    loadFile(scene);
    EXPECT_EQ(output_, plain);  // the diagnostics change nothing the viewer prints
    std::FILE* listing = std::fopen("listing", "w");
    printDiagnostics(app_.findings, listing);
    std::fclose(listing);
    app_.options.watch = false;
    expectGolden(entry.path() / "expected", readFile("listing"));
    EXPECT_EQ(checker(scene), readFile("listing").empty() ? 0 : 1);  // the program says the same
    EXPECT_EQ(readFile("out"), readFile("listing"));
    EXPECT_EQ(readFile("err").find("Chipmunk"), std::string::npos);  // the library's own words
    if (std::filesystem::exists(entry.path() / "fixed")) {
      ++fixedFolders;
      std::filesystem::copy(entry.path() / "fixed", ".", copyOver);
      EXPECT_EQ(checker(scene), 0) << readFile("out");
      EXPECT_EQ(readFile("out"), "");
    }
    for (const auto& file : std::filesystem::directory_iterator("."))
      std::filesystem::remove_all(file);
  }
  EXPECT_GT(folders, 0);
  EXPECT_GT(fixedFolders, 0);
}

// The checker program: its output, summary and exit status.
TEST_F(Check, CheckerSumsUpWithItsExitStatus) {
  writeFile("clean.txt", "# nothing\nscene_fps 30\n");
  writeFile("bad.txt", "scene_fsp 30\n");
  ASSERT_EQ(mkdir("sub", 0755), 0);
  writeFile("sub/scene.txt", "scene_fps\t30\n");
  EXPECT_EQ(checker("clean.txt"), 0);
  EXPECT_EQ(readFile("out") + readFile("err"), "quillmoor-check: 0 warnings in 1 file\n");
  EXPECT_EQ(checker("clean.txt bad.txt"), 1);
  EXPECT_EQ(readFile("err"), "quillmoor-check: 1 warning in 2 files\n");
  EXPECT_EQ(checker("-C sub"), 1);  // scene.txt by default, in the folder given
  EXPECT_EQ(checker("clean.txt missing.txt"), 2);
  EXPECT_EQ(checker("-C nowhere"), 2);
  EXPECT_EQ(checker("sub"), 2);  // a folder: the way to check the scene in it
  EXPECT_NE(readFile("err").find("run quillmoor-check -C sub\n"), std::string::npos);
  EXPECT_EQ(checker("--bogus"), 2);
  EXPECT_EQ(checker("--help"), 0);
}

}  // namespace
