#include "scene/line_check.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }


const KeywordInfo* find(const std::vector<KeywordInfo>& keywords, const std::string& word) {
  for (const KeywordInfo& k : keywords)
    if (word == k.keyword) return &k;
  return nullptr;
}

// The keyword the word was most likely meant to be: one it starts with, or the nearest one
// (ignoring case) within `limit` edits.
const KeywordInfo* closest(const std::vector<KeywordInfo>& keywords, const std::string& word,
                           int limit) {
  const KeywordInfo* best = nullptr;
  size_t longest = 0;
  for (const KeywordInfo& k : keywords) {
    const size_t n = std::strlen(k.keyword);
    if (word.size() > n && word.compare(0, n, k.keyword) == 0 && n > longest)
      best = &k, longest = n;
  }
  if (best) return best;
  int distance = limit + 1;
  const std::string lowered = lower(word);
  for (const KeywordInfo& k : keywords) {
    // Lengths further apart than the limit are further apart in edits too.
    const long apart = static_cast<long>(word.size()) - static_cast<long>(std::strlen(k.keyword));
    if (apart > limit || -apart > limit) continue;
    const int d = editDistance(lowered, k.keyword);
    if (d < distance) best = &k, distance = d;
  }
  return best;
}

}  // namespace

bool isCommentOrBlank(const char* line) {
  while (isBlank(*line)) ++line;
  return *line == '\0' || *line == '#' || *line == ';' || std::strncmp(line, "//", 2) == 0;
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

int editDistance(const std::string& a, const std::string& b) {
  std::vector<int> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<int>(j);
  for (size_t i = 1; i <= a.size(); ++i) {
    int diagonal = row[0];
    row[0] = static_cast<int>(i);
    for (size_t j = 1; j <= b.size(); ++j) {
      const int above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string unrecognisedLineProblem(const char* line, const std::vector<KeywordInfo>& keywords,
                                    bool near_misses, const std::vector<std::string>& families) {
  if (isCommentOrBlank(line)) return "";
  const char* start = line;
  while (isBlank(*start)) ++start;
  const size_t length = std::strcspn(start, " \t");
  const std::string word(start, length);
  const char next = start[length];
  if (start != line) {
    if (!near_misses && !find(keywords, word)) return "";
    return "indented line is ignored: keywords must start in the first column";
  }
  if (const KeywordInfo* k = find(keywords, word)) {
    if (next == '\t')
      return "tab after '" + word + "' is ignored as a separator, so the line is ignored: use " +
             "one space";
    if (next == '\0' && !k->alone) return "'" + word + "' without values is ignored";
    if (next == ' ' && !k->prefix)
      return "'" + word + "' takes no values: with more text after it the line is ignored";
    return "";
  }
  if (!near_misses) return "";
  const int limit = word.size() < 8 ? 1 : 2;
  const KeywordInfo* meant = closest(keywords, word, limit);
  bool family = false;
  for (const std::string& prefix : families)
    family = family || word.compare(0, prefix.size(), prefix) == 0;
  if (!meant && family) meant = closest(keywords, word, static_cast<int>(word.size()) / 2);
  if (!meant && !family) return "";
  std::string text = "unknown keyword '" + word + "' is ignored";
  if (meant) text += " (did you mean '" + std::string(meant->keyword) + "'?)";
  return text;
}
