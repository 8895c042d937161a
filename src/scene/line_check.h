#pragma once
// Decisions about lines a reader did not recognise: whether they look meant as keyword lines.
#include <string>
#include <vector>

struct KeywordInfo {
  const char* keyword;
  bool alone;   // recognised when it stands alone on its line
  bool prefix;  // recognised when followed by one space and values
};

// Blank lines, and lines whose first non-blank characters are '#', ';' or "//", are comments
// by convention and never reported.
bool isCommentOrBlank(const char* line);

// The text with ASCII letters in lower case.
std::string lower(std::string text);

// Levenshtein distance, byte-wise.
int editDistance(const std::string& a, const std::string& b);

// Why an unrecognised line looks meant as a keyword line, "" when it does not. With
// near_misses, a first word close to a keyword (or starting with one of `families`) counts too.
std::string unrecognisedLineProblem(const char* line, const std::vector<KeywordInfo>& keywords,
                                    bool near_misses,
                                    const std::vector<std::string>& families = {});
