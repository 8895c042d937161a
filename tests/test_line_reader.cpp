#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "scene/line_reader.h"

namespace {

using Lines = std::vector<std::string>;

Lines linesOf(const std::string& bytes) {
  FILE* file = std::tmpfile();
  if (!file) return {"<no temporary file>"};
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  Lines lines;
  for (LineBuffer line; readLine(file, line);) lines.push_back(line);
  std::fclose(file);
  return lines;
}

TEST(ReadLine, CutsAtLineEndsAndIn1023CharParts) {
  const std::string a(1023, 'a'), c(1021, 'c');
  const struct {
    std::string bytes;
    Lines want;
  } rows[] = {{"", {}},
              {"a\nb\r\n\n\r\nlast", {"a", "b", "", "", "last"}},
              {"c\rlost\nd\n", {"c", "d"}},  // a lone CR cuts the line but does not end it
              {a + "xyz\nnext", {a, "xyz", "next"}},
              {a + a + "tail", {a, a, "tail"}},
              {a + "\nx", {a, "", "x"}},  // a full part leaves its line end for an empty line
              {c + "\r\nx", {c, "x"}},
              {std::string("\xff\x80\0cd\nef", 8), {"\xff\x80", "ef"}}};
  for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(linesOf(rows[i].bytes), rows[i].want) << i;
}

TEST(MatchesKeyword, PrefixAloneAndEither) {
  const struct {
    const char* keyword;
    Match match;
    std::vector<std::string> yes, no;
  } rows[] = {{"scene_fps",
               Match::Prefix,
               {"scene_fps 30", "scene_fps "},
               {"scene_fps", "scene_fps\t30", " scene_fps 30", "scene_fpsx 30", "Scene_fps 30"}},
              {"new_rope", Match::Alone, {"new_rope"}, {"new_rope ", "new_ropes", "\tnew_rope"}},
              {"new_obj",
               Match::Either,
               {"new_obj", "new_obj box"},
               {"new_objbox", "new_obj\tbox", " new_obj", "new_obj_x 5"}}};
  for (const auto& r : rows)
    for (bool want : {true, false})
      for (const std::string& line : want ? r.yes : r.no)
        EXPECT_EQ(matchesKeyword(line.c_str(), r.keyword, r.match), want) << '"' << line << '"';
}

TEST(ScanInt, ReadsLikePercentDAndSaturates) {
  const int kept = 12345;  // what a failed read must leave in place
  const struct {
    const char* text;
    int got;
    int value;
  } rows[] = {{"42", 1, 42},
              {" \t\n 7", 1, 7},
              {"-7", 1, -7},
              {"+7", 1, 7},
              {"7.9", 1, 7},
              {"", 0, kept},
              {"abc", 0, kept},
              {"- 5", 0, kept},
              {"2147483647", 1, INT_MAX},
              {"2147483648", 1, INT_MAX},
              {"4294967296", 1, INT_MAX},
              {"-2147483648", 1, INT_MIN},
              {"-2147483649", 1, INT_MIN},
              {"99999999999999999999999999", 1, INT_MAX},
              {"-99999999999999999999999999", 1, INT_MIN}};
  for (const auto& r : rows) {
    int value = kept;
    EXPECT_EQ(scanInt(r.text, &value), r.got) << r.text;
    EXPECT_EQ(value, r.value) << r.text;
  }
}

}  // namespace
