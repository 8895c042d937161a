#pragma once
// Line-based text input shared by the scene, mesh and material readers.
#include <cstdio>

struct Reporter;

constexpr int kLineBufferSize = 1024;
using LineBuffer = char[kLineBufferSize];

// How a file is written, as far as its first kLineBufferSize bytes tell. CR line ends are no
// line ends to readLine, so a file of them reads as its first line (and, when longer than one
// read, a piece every 1023 bytes); UTF-16 reads as fragments cut at its NUL bytes.
enum class TextForm { Plain, CrLines, LongCrLines, Utf16 };

// Opens a file for reading as text without blocking; only regular files open (a directory,
// FIFO, device or socket counts as a file that cannot be opened). Reading starts after a
// UTF-8 byte-order mark. `form`, when given, is set to how the file is written.
FILE* openTextFile(const char* path, TextForm* form = nullptr);

// Warns, at line 1 of the innermost file being read, when its form keeps its lines from being
// read as written, and says how to save it. Returns whether its lines read as fragments only.
bool reportTextForm(Reporter& report, TextForm form);

// Turns diagnostics off while it lives, when asked to: nothing said about fragments would help.
class QuietWhile {
 public:
  QuietWhile(Reporter& report, bool quiet);
  ~QuietWhile();
  QuietWhile(const QuietWhile&) = delete;
  QuietWhile& operator=(const QuietWhile&) = delete;

 private:
  Reporter& report_;
  bool collect_;
};

// Reads at most 1023 characters, up to and including the next line feed, and cuts the
// result at its first carriage return or line feed. A longer line arrives in parts.
// Returns false at the end of the file. `whole`, when given, tells whether the physical line
// ended within this read (false: more parts of it follow).
bool readLine(FILE* file, LineBuffer& line, bool* whole = nullptr);

enum class Match { Prefix, Alone, Either };

// Prefix: the line starts with the keyword and one space (code 32). Alone: the line is
// exactly the keyword. Byte-exact and case-sensitive; nothing is skipped first.
bool matchesKeyword(const char* line, const char* keyword, Match match);

// Reads a decimal integer as " %d" does (white space skipped, optional sign, digits) and
// stores it in *out. Unlike sscanf, a number beyond the 32-bit range saturates instead of
// being undefined. Returns 1 when a number was read, 0 otherwise.
int scanInt(const char* text, int* out);
