#pragma once
// freeglut's fonts captured through its public API and GL on the current GL context: what
// quillmoor-fontgen writes and the font tests compare with freeglut.
#include <vector>

#include "fonts.h"

struct StrokeFontData {
  std::vector<StrokeGlyph> glyphs;
  std::vector<unsigned short> strip_starts{0};
  std::vector<float> points;
};
struct BitmapFontData {
  std::vector<BitmapGlyph> glyphs;
  std::vector<unsigned char> rows;
};
StrokeFontTable tableOf(const StrokeFontData& font);
BitmapFontTable tableOf(const BitmapFontData& font);

// A double-buffered GLUT window, at least 64 x 64, to capture in; glutInit ends the process
// when there is no display.
void openCaptureWindow(int width, int height);

// Each throws std::runtime_error, naming the character, when a value cannot be recovered
// exactly or freeglut does what the tables cannot say.
StrokeFontData captureStrokeFont(void* font);
BitmapFontData captureBitmapFont(void* font);
// strokeLength against glutStrokeLength for every string of one or two characters and a few
// of several lines.
void checkStrokeLengths(void* font, const StrokeFontTable& table);
