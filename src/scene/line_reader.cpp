#include "scene/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstring>
#include <string>

#include "scene/report.h"

namespace {

TextForm formOf(const unsigned char* head, size_t n, long long size) {
  if (n >= 2 && ((head[0] == 0xFF && head[1] == 0xFE) || (head[0] == 0xFE && head[1] == 0xFF)))
    return TextForm::Utf16;
  // Without its mark, text in UTF-16 is mostly ASCII with a NUL beside every character.
  size_t nul[2] = {0, 0};
  for (size_t i = 0; i < n; ++i) nul[i % 2] += head[i] == 0;
  if ((nul[0] == 0) != (nul[1] == 0) && 4 * (nul[0] + nul[1]) >= n) return TextForm::Utf16;
  if (std::memchr(head, '\n', n)) return TextForm::Plain;
  // A CR that ends the file ends a line of its own; one with more after it hides the rest.
  const void* cr = std::memchr(head, '\r', n);
  if (!cr || static_cast<const unsigned char*>(cr) == head + n - 1) return TextForm::Plain;
  return size > kLineBufferSize - 1 ? TextForm::LongCrLines : TextForm::CrLines;
}

}  // namespace

FILE* openTextFile(const char* path, TextForm* form) {
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
  if (!file) {
    close(fd);
    return nullptr;
  }
  // Editors on some systems start UTF-8 text with a byte-order mark; it is no part of line 1.
  unsigned char head[kLineBufferSize];
  const size_t n = std::fread(head, 1, sizeof head, file);
  const size_t mark = n >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF ? 3 : 0;
  std::clearerr(file);
  std::fseek(file, static_cast<long>(mark), SEEK_SET);
  if (form) *form = formOf(head + mark, n - mark, static_cast<long long>(info.st_size) - mark);
  return file;
}

bool reportTextForm(Reporter& report, TextForm form) {
  if (!report.collect || report.reading.empty() || form == TextForm::Plain) return false;
  Place& place = report.reading.back();
  const int line = place.line;
  place.line = 1;
  if (form == TextForm::Utf16) {
    warn(report, place.file + " is UTF-16 text, which is not read: save it as UTF-8 (or ASCII)");
  } else {
    const char* read = form == TextForm::LongCrLines
                           ? "its first line, and a piece of a line every 1023 bytes, are read"
                           : "its first line is read";
    warn(report, place.file + " uses CR line endings (classic Mac): only " + read +
                     "; save it with LF or CR LF line endings");
  }
  place.line = line;
  return form == TextForm::Utf16;
}

QuietWhile::QuietWhile(Reporter& report, bool quiet) : report_(report), collect_(report.collect) {
  if (quiet) report_.collect = false;
}

QuietWhile::~QuietWhile() { report_.collect = collect_; }

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
