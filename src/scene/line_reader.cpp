#include "scene/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstring>

FILE* openTextFile(const char* path) {
  // Non-blocking, so that a FIFO without a writer cannot hold the open; anything but a regular
  // file (a folder, FIFO, device or socket) counts as a file that cannot be opened.
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return nullptr;
  }
  FILE* file = fdopen(fd, "r");
  if (!file) close(fd);
  return file;
}

bool readLine(FILE* file, LineBuffer& line, bool* whole) {
  if (!std::fgets(line, kLineBufferSize, file)) return false;
  if (whole) {
    *whole = std::strchr(line, '\n') != nullptr;
    if (!*whole) {  // a full buffer at the very end of the file is a whole line too
      const int next = std::getc(file);
      *whole = next == EOF;
      if (next != EOF) std::ungetc(next, file);
    }
  }
  line[std::strcspn(line, "\r\n")] = '\0';
  return true;
}

bool matchesKeyword(const char* line, const char* keyword, Match match) {
  const size_t length = std::strlen(keyword);
  if (std::strncmp(line, keyword, length) != 0) return false;
  const char next = line[length];
  if (match != Match::Alone && next == ' ') return true;
  return match != Match::Prefix && next == '\0';
}

int scanInt(const char* text, int* out) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (std::isspace(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (!std::isdigit(*p)) return 0;
  long long value = 0;
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  for (; std::isdigit(*p); ++p) {
    value = value * 10 + (*p - '0');
    if (value > limit) value = limit;
  }
  *out = static_cast<int>(negative ? -value : value);
  return 1;
}
