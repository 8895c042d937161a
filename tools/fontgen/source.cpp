#include "source.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

// The shortest text that reads back as the same float.
std::string literal(float v) {
  if (v == 0.0f) return std::signbit(v) ? "-0.0f" : "0";
  char text[32];
  const std::string digits(text, std::to_chars(text, text + sizeof text, v).ptr);
  return digits.find_first_of(".e") == std::string::npos ? digits : digits + "f";
}

std::string name(int c) {
  std::string text = std::to_string(c);
  if (c >= 32 && c < 127) text += std::string(" '") + static_cast<char>(c) + "'";
  return text;
}

void writeStroke(std::ostream& out, const StrokeFontData& font) {
  out << "const float kRomanPoints[] = {\n";
  for (int c = 0; c < kFontCodes; ++c) {
    const StrokeGlyph& glyph = font.glyphs[c];
    if (glyph.strips) out << "    // " << name(c) << "\n";
    for (int s = glyph.first_strip; s < glyph.first_strip + glyph.strips; ++s) {
      out << "   ";
      for (int p = font.strip_starts[s]; p < font.strip_starts[s + 1]; ++p)
        out << " " << literal(font.points[2 * p]) << "," << literal(font.points[2 * p + 1]) << ",";
      out << "\n";
    }
  }
  out << "};\nconst unsigned short kRomanStripStarts[] = {";
  for (size_t i = 0; i < font.strip_starts.size(); ++i)
    out << (i % 16 ? " " : "\n    ") << font.strip_starts[i] << ",";
  out << "\n};\nconst StrokeGlyph kRomanGlyphs[kFontCodes] = {\n";
  for (int c = 0; c < kFontCodes; ++c) {
    const StrokeGlyph& glyph = font.glyphs[c];
    out << "    {" << literal(glyph.advance) << ", " << glyph.first_strip << ", " << glyph.strips
        << "},  // " << name(c) << "\n";
  }
  out << "};\n";
}

void writeBitmap(std::ostream& out, const BitmapFontData& font) {
  out << "const unsigned char kFixedRows[] = {\n";
  for (int c = 0; c < kFontCodes; ++c) {
    const BitmapGlyph& glyph = font.glyphs[c];
    const int bytes = (glyph.width + 7) / 8 * glyph.height;
    if (!bytes) continue;
    out << "   ";
    for (int i = 0; i < bytes; ++i) out << " " << int(font.rows[glyph.first_row + i]) << ",";
    out << "  // " << name(c) << "\n";
  }
  out << "};\nconst BitmapGlyph kFixedGlyphs[kFontCodes] = {\n";
  for (int c = 0; c < kFontCodes; ++c) {
    const BitmapGlyph& g = font.glyphs[c];
    out << "    {" << literal(g.advance) << ", " << int(g.left) << ", " << int(g.bottom) << ", "
        << int(g.width) << ", " << int(g.height) << ", " << g.first_row << "},  // " << name(c)
        << "\n";
  }
  out << "};\n";
}

}  // namespace

void writeFontSource(std::ostream& out, const StrokeFontData& roman, const BitmapFontData& fixed) {
  out << "// GLUT_STROKE_ROMAN and GLUT_BITMAP_8_BY_13 as the installed freeglut draws them,\n"
         "// captured by quillmoor-fontgen. Do not edit: run it again.\n"
         "#include \"fonts.h\"\n\nnamespace {\n\n";
  writeStroke(out, roman);
  out << "\n";
  writeBitmap(out, fixed);
  out << "\n}  // namespace\n\n"
         "const StrokeFontTable kStrokeRoman = {kRomanGlyphs, kRomanStripStarts, kRomanPoints};\n"
         "const BitmapFontTable kBitmap8By13 = {kFixedGlyphs, kFixedRows};\n";
}
