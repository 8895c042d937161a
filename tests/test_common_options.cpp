// The shared -C and --version options: what is taken out of the command line, what is left for
// the program's own reading, and entering the directories.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/common_options.h"

namespace {

TEST(CommonOptions, TakenOutWhereTheyStandAsOptions) {
  const OptionSyntax viewer{{"--scene"}, {"-h", "--help"}};
  struct Row {
    std::vector<const char*> args;
    std::vector<const char*> left;  // what the program's own reading sees
    std::vector<std::string> directories;
    bool version;
    bool error;
  } rows[] = {
      {{}, {}, {}, false, false},
      {{"--scene", "a.txt", "--fullscreen"},
       {"--scene", "a.txt", "--fullscreen"},
       {},
       false,
       false},
      {{"-C", "ex", "--scene", "a"}, {"--scene", "a"}, {"ex"}, false, false},
      {{"--fullscreen", "-Cex", "-C", "sub"}, {"--fullscreen"}, {"ex", "sub"}, false, false},
      {{"--scene", "-C", "x"}, {"--scene", "-C", "x"}, {}, false, false},  // a scene named -C
      {{"--scene", "--version"}, {"--scene", "--version"}, {}, false, false},
      {{"-h", "-C", "x", "--version"}, {"-h", "-C", "x", "--version"}, {}, false, false},
      {{"--bogus", "--version"}, {"--bogus"}, {}, true, false},
      {{"--fullscreen", "-C"}, {"--fullscreen"}, {}, false, true},
  };
  for (Row& row : rows) {
    std::vector<char*> argv{const_cast<char*>("quillmoor")};
    for (const char* arg : row.args) argv.push_back(const_cast<char*>(arg));
    argv.push_back(nullptr);
    int argc = static_cast<int>(argv.size()) - 1;
    const CommonOptions common = takeCommonOptions(&argc, argv.data(), viewer);
    const std::string what = std::to_string(row.args.size()) + " args";
    ASSERT_EQ(argc, static_cast<int>(row.left.size()) + 1) << what;
    for (size_t i = 0; i < row.left.size(); ++i) EXPECT_STREQ(argv[i + 1], row.left[i]) << what;
    EXPECT_EQ(argv[argc], nullptr) << what;
    EXPECT_EQ(common.directories, row.directories) << what;
    EXPECT_EQ(common.version, row.version) << what;
    EXPECT_EQ(!common.error.empty(), row.error) << what;
  }
}

TEST(CommonOptions, EntersEachDirectoryInTurnAndNamesOneThatFails) {
  const std::filesystem::path previous = std::filesystem::current_path();
  char pattern[] = "/tmp/quillmoor-options-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  std::filesystem::create_directories(std::string(pattern) + "/a/b");
  EXPECT_TRUE(enterDirectories({pattern, "a", "b"}, "quillmoor"));
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(pattern) / "a" / "b");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(enterDirectories({"..", "missing", "b"}, "quillmoor"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "quillmoor: cannot change to directory 'missing': No such file or directory\n");
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(pattern) / "a");
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(pattern);
}

}  // namespace
