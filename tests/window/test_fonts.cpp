// The web build's fonts: the tables quillmoor-fontgen captures from freeglut, captured here in
// the test's own window and drawn through the web build's drawing functions, against freeglut
// itself. The pixels must be the same byte for byte, and so must the matrix and raster
// position each leaves behind.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture.h"

namespace {

constexpr int kWidth = 1024, kHeight = 640;

struct Fonts {
  StrokeFontData roman;
  BitmapFontData fixed;
};
// Captured once, in the window every test draws in.
const Fonts& fonts() {
  static const Fonts captured = [] {
    openCaptureWindow(kWidth, kHeight);
    return Fonts{captureStrokeFont(GLUT_STROKE_ROMAN), captureBitmapFont(GLUT_BITMAP_8_BY_13)};
  }();
  return captured;
}

struct Picture {
  std::vector<unsigned char> rgb;
  std::vector<float> ends;  // the matrices or raster positions each row of text ends with
};

// Clears the window to black with window pixels as coordinates, y up.
void startPicture() {
  glViewport(0, 0, kWidth, kHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kWidth, 0, kHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
}

std::vector<unsigned char> readPixels() {
  std::vector<unsigned char> rgb(kWidth * kHeight * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  return rgb;
}

int litPixels(const std::vector<unsigned char>& rgb) {
  int lit = 0;
  for (size_t i = 0; i < rgb.size(); i += 3) lit += rgb[i] || rgb[i + 1] || rgb[i + 2];
  return lit;
}

int differentPixels(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
  int different = 0;
  for (size_t i = 0; i + 2 < std::min(a.size(), b.size()); i += 3)
    different += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
  return different;
}

void expectSame(const Picture& freeglut, const Picture& tables, const std::string& what) {
  EXPECT_GT(litPixels(freeglut.rgb), 1000) << what << ": freeglut drew next to nothing";
  EXPECT_EQ(differentPixels(freeglut.rgb, tables.rgb), 0) << what;
  EXPECT_EQ(freeglut.ends, tables.ends) << what;
}

// Rows of text: every printable character, then codes the font has no glyph for (beyond 127,
// and negative, as the scroller's signed bytes above 127 are) between letters.
std::vector<std::vector<int>> rows(size_t per_row) {
  std::vector<std::vector<int>> out(1);
  for (int c = ' '; c < 127; ++c) {
    if (out.back().size() == per_row) out.emplace_back();
    out.back().push_back(c);
  }
  out.push_back({'a', -23, 'b', 200, 'c', 255, 'd', 300, 'e', -1, 'f', 0, 'g', '\n', 'h'});
  return out;
}

struct StrokeStyle {
  float scale, width;
  bool stipple;  // restarted by each strip, so it shows where strips begin
};

template <class Character>
Picture strokePicture(const StrokeStyle& style, Character character) {
  startPicture();
  glColor3f(1.0f, 0.5f, 0.25f);
  glLineWidth(style.width);
  if (style.stipple) glEnable(GL_LINE_STIPPLE), glLineStipple(1, 0x3F1D);
  Picture picture;
  const float line = 150 * style.scale;
  const auto text = rows(static_cast<size_t>((kWidth - 20) / (110 * style.scale)));
  for (size_t row = 0; row < text.size(); ++row) {
    glLoadIdentity();
    glTranslatef(10.3f, kHeight - 10.6f - (row + 1) * line, 0.0f);
    glScalef(style.scale, style.scale, 1.0f);
    for (int c : text[row]) character(c);
    float matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    picture.ends.insert(picture.ends.end(), matrix, matrix + 16);
  }
  glDisable(GL_LINE_STIPPLE);
  glLineWidth(1.0f);
  picture.rgb = readPixels();
  return picture;
}

TEST(FreeglutFonts, StrokeRomanDrawsFreeglutsPixels) {
  const StrokeFontTable roman = tableOf(fonts().roman);
  for (const StrokeStyle& style : {StrokeStyle{0.13f, 1.0f, false}, StrokeStyle{0.45f, 1.0f, false},
                                   StrokeStyle{0.45f, 3.0f, false}, StrokeStyle{0.45f, 1.0f, true}}) {
    const std::string what = "scale " + std::to_string(style.scale) + ", width " +
                             std::to_string(style.width) + (style.stipple ? ", stippled" : "");
    expectSame(strokePicture(style, [](int c) { glutStrokeCharacter(GLUT_STROKE_ROMAN, c); }),
               strokePicture(style, [&](int c) { strokeCharacter(roman, c); }), what);
  }
}

TEST(FreeglutFonts, StrokeRomanLengthsAreFreegluts) {
  const StrokeFontTable roman = tableOf(fonts().roman);
  std::string printable;
  for (int c = ' '; c < 127; ++c) printable += static_cast<char>(c);
  // Sums that round up and down, lines, and bytes without glyphs.
  for (const std::string& text :
       {std::string(), std::string("A"), std::string("AA"), std::string("AAA"), printable,
        printable + printable + printable, std::string("Quillmoor\nviewer"),
        std::string("\n"), std::string("ab\n"), std::string("\nabc\nde\nfghij\n"),
        std::string("caf\xe9 \xff\x80\x81!"), std::string("\x01\x7f\t\r"),
        std::string("\xc3\xa9t\xc3\xa9\nsummer")}) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.c_str());
    EXPECT_EQ(strokeLength(roman, bytes), glutStrokeLength(GLUT_STROKE_ROMAN, bytes)) << text;
  }
  EXPECT_NO_THROW(checkStrokeLengths(GLUT_STROKE_ROMAN, roman));
}

template <class Character>
Picture bitmapPicture(Character character) {
  startPicture();
  // Channels of whole bytes: glBitmap's raster colour and a quad's round halves differently.
  glColor3f(1.0f, 0.8f, 0.2f);
  Picture picture;
  std::vector<std::vector<int>> text = rows(64);
  for (int first : {1, 128, 192}) {  // the glyphs outside printable ASCII
    text.emplace_back();
    for (int c = first; c < first + 64 && c < 256; ++c) text.back().push_back(c);
  }
  for (size_t row = 0; row < text.size(); ++row) {
    // Starting between pixels too: glBitmap rounds the raster position down.
    glWindowPos2f(20.0f + 0.25f * row, kHeight - 20.5f - 17.0f * row);
    for (int c : text[row]) character(c);
    float raster[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    picture.ends.insert(picture.ends.end(), raster, raster + 2);
  }
  picture.rgb = readPixels();
  return picture;
}

TEST(FreeglutFonts, Bitmap8By13DrawsFreeglutsPixels) {
  const BitmapFontTable fixed = tableOf(fonts().fixed);
  expectSame(bitmapPicture([](int c) { glutBitmapCharacter(GLUT_BITMAP_8_BY_13, c); }),
             bitmapPicture([&](int c) { bitmapCharacter(fixed, c); }), "8 by 13");
}

}  // namespace
