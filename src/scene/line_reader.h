#pragma once
// Line-based text input shared by the scene, mesh and material readers.
#include <cstdio>

constexpr int kLineBufferSize = 1024;
using LineBuffer = char[kLineBufferSize];

// Opens a file for reading as text without blocking; only regular files open (a directory,
// FIFO, device or socket counts as a file that cannot be opened).
FILE* openTextFile(const char* path);

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
