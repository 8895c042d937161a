#pragma once
// The two GLUT fonts the viewer draws with, as tables for the web build, whose GLUT has no
// fonts. quillmoor-fontgen writes the tables from the installed freeglut; the drawing
// functions below replay them with GL 1.x calls only, so they run on the desktop as well.

constexpr int kFontCodes = 256;  // character codes 0..255; others draw nothing

struct StrokeGlyph {
  float advance;                       // how far glutStrokeCharacter moves the matrix along x
  unsigned short first_strip, strips;  // its line strips in StrokeFontTable::strip_starts
};
struct StrokeFontTable {
  const StrokeGlyph* glyphs;          // kFontCodes of them
  const unsigned short* strip_starts;  // strip i is points i..strip_starts[i + 1] - 1: one
                                       // more entry than there are strips
  const float* points;                 // x, y of every point, strip after strip
};

struct BitmapGlyph {
  float advance;                  // how far glutBitmapCharacter moves the raster position
  signed char left, bottom;       // its lowest, leftmost pixel from the raster position
  unsigned char width, height;    // of the box of its lit pixels; 0 when nothing is lit
  unsigned short first_row;       // in BitmapFontTable::rows
};
struct BitmapFontTable {
  const BitmapGlyph* glyphs;  // kFontCodes of them
  const unsigned char* rows;  // bottom row first, (width + 7) / 8 bytes a row, high bit left
};

extern const StrokeFontTable kStrokeRoman;  // GLUT_STROKE_ROMAN
extern const BitmapFontTable kBitmap8By13;  // GLUT_BITMAP_8_BY_13

// Draws one character with the current matrix as freeglut does, and leaves the matrix
// translated by its advance.
void strokeCharacter(const StrokeFontTable& font, int c);
// As glutStrokeLength: the longest line (lines end at '\n'), rounded to the nearest unit.
int strokeLength(const StrokeFontTable& font, const unsigned char* text);
// Draws one character's pixels at the raster position, in the current colour, as 1 x 1
// quads over the viewport, and moves the raster position on by its advance.
void bitmapCharacter(const BitmapFontTable& font, int c);

// The raster position in window pixels (y up): kept by the web build's GL stand-in (gl1.h),
// on the desktop by GL itself (tools/fontgen/desktop_raster.cpp).
extern "C" {
void qmRasterWindowPos(float* x, float* y);
void qmSetRasterWindowPos(float x, float y);
}
