#include "capture.h"

#include <GL/freeglut.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

[[noreturn]] void fail(int c, const std::string& what) {
  throw std::runtime_error("character " + std::to_string(c) + ": " + what);
}

struct Segment {
  bool reset;  // a GL_LINE_RESET_TOKEN: certainly the first of a strip
  float x0, y0, x1, y1;
};

// The lines glutStrokeCharacter draws with `matrix` as the modelview matrix (column-major),
// in window coordinates, with the matrix it leaves in `after`. The projection scales by 1/256
// and the viewport by 256 with no offset, both exact, so window x is the matrix's x exactly;
// the font (within +-200) stays inside the clip volume. Window y is not exact: Mesa turns it
// upside down for the window and back, which rounds it, so the font's y is read as window x
// with x and y swapped.
std::vector<Segment> feedback(void* font, int c, const float matrix[16], float after[16]) {
  static std::vector<GLfloat> buffer(1 << 16);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-256, 256, -256, 256, -1, 1);
  glViewport(-256, -256, 512, 512);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(matrix);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
  glRenderMode(GL_FEEDBACK);
  glutStrokeCharacter(font, c);
  const GLint size = glRenderMode(GL_RENDER);
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  if (size < 0) fail(c, "the feedback buffer overflowed");
  std::vector<Segment> segments;
  for (GLint i = 0; i < size; i += 5) {
    const GLfloat* item = &buffer[i];
    if (item[0] != GL_LINE_TOKEN && item[0] != GL_LINE_RESET_TOKEN)
      fail(c, "freeglut drew something other than lines (feedback token " +
                  std::to_string(item[0]) + ")");
    if (i + 5 > size) fail(c, "a truncated feedback line");
    segments.push_back({item[0] == GL_LINE_RESET_TOKEN, item[1], item[2], item[3], item[4]});
  }
  return segments;
}

bool hasExtension(const char* name) {
  GLint count = 0;
  glGetIntegerv(GL_NUM_EXTENSIONS, &count);
  for (GLint i = 0; i < count; ++i)
    if (std::strcmp(reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, i)), name) == 0)
      return true;
  return false;
}

// How many vertices glutStrokeCharacter sends. Feedback shows each strip only as its lines,
// and Mesa marks no strip's first line with a reset token; vertices - lines = strips.
GLuint verticesSent(void* font, int c) {
  static GLuint query = 0;
  if (!query) glGenQueries(1, &query);
  glLoadIdentity();
  glBeginQuery(GL_VERTICES_SUBMITTED_ARB, query);
  glutStrokeCharacter(font, c);
  glEndQuery(GL_VERTICES_SUBMITTED_ARB);
  GLuint vertices = 0;
  glGetQueryObjectuiv(query, GL_QUERY_RESULT, &vertices);
  return vertices;
}

void captureStrokeGlyph(void* font, int c, StrokeFontData& out) {
  // Each capture again shifted along x by a fraction that no binary grid holds: had window
  // x been rounded anywhere, the shifted capture would not be the first plus the shift.
  const float dx = 0.37f;
  const float plain[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  const float swap[16] = {0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  float shifted_plain[16], shifted_swap[16], after[16], ignored[16];
  std::copy(plain, plain + 16, shifted_plain), std::copy(swap, swap + 16, shifted_swap);
  shifted_plain[12] = shifted_swap[12] = dx;
  std::vector<Segment> lines = feedback(font, c, plain, after);
  const std::vector<Segment> swapped = feedback(font, c, swap, ignored);
  const std::vector<Segment> moved = feedback(font, c, shifted_plain, ignored);
  const std::vector<Segment> moved_swapped = feedback(font, c, shifted_swap, ignored);
  if (swapped.size() != lines.size() || moved.size() != lines.size() ||
      moved_swapped.size() != lines.size())
    fail(c, "freeglut drew a different number of lines when moved");
  const auto near = [](float a, float b) { return std::fabs(a - b) < 1e-3f; };
  for (size_t i = 0; i < lines.size(); ++i) {
    Segment& line = lines[i];
    const Segment &s = swapped[i], &m = moved[i], &ms = moved_swapped[i];
    if (!near(s.x0, line.y0) || !near(s.y0, line.x0) || !near(s.x1, line.y1) || !near(s.y1, line.x1))
      fail(c, "freeglut drew other lines with x and y swapped");
    if (m.x0 != line.x0 + dx || m.x1 != line.x1 + dx || ms.x0 != s.x0 + dx || ms.x1 != s.x1 + dx)
      fail(c, "a line moved by " + std::to_string(dx) + " came out moved by another amount");
    line.y0 = s.x0, line.y1 = s.x1;
    for (float v : {line.x0, line.y0, line.x1, line.y1})
      if (!(std::fabs(v) < 200.0f)) fail(c, "a point lies outside the area captured");
  }
  for (int i = 0; i < 16; ++i)
    if (i != 12 && after[i] != plain[i]) fail(c, "freeglut left more than a translation in x");

  // A line that does not start where the one before ended starts a strip. One that does
  // may too: the vertex count tells how many such strips there are, and when they are not
  // none or all of these joints, where they are is not known.
  const auto joint = [&](size_t i) {
    return i > 0 && !lines[i].reset && lines[i].x0 == lines[i - 1].x1 &&
           lines[i].y0 == lines[i - 1].y1;
  };
  long strips = 0, joints = 0;
  for (size_t i = 0; i < lines.size(); ++i) joint(i) ? ++joints : ++strips;
  const long hidden = static_cast<long>(verticesSent(font, c)) -
                      static_cast<long>(lines.size()) - strips;
  if (hidden < 0 || (hidden > 0 && hidden != joints))
    fail(c, "cannot tell where its line strips begin (" + std::to_string(hidden) + " of " +
                std::to_string(joints) + " joints start one)");

  StrokeGlyph glyph{after[12], static_cast<unsigned short>(out.strip_starts.size() - 1), 0};
  for (size_t i = 0; i < lines.size(); ++i) {
    if (hidden > 0 || !joint(i)) {
      if (i > 0) out.strip_starts.push_back(static_cast<unsigned short>(out.points.size() / 2));
      ++glyph.strips;
      out.points.insert(out.points.end(), {lines[i].x0, lines[i].y0});
    }
    out.points.insert(out.points.end(), {lines[i].x1, lines[i].y1});
  }
  if (!lines.empty()) out.strip_starts.push_back(static_cast<unsigned short>(out.points.size() / 2));
  if (out.points.size() / 2 > 0xffff) fail(c, "too many points for the table");
  out.glyphs.push_back(glyph);
}

// The codes the tables leave out must draw nothing and leave the matrix alone.
void checkStrokeIgnores(void* font, int c) {
  const float plain[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  float after[16];
  if (!feedback(font, c, plain, after).empty() || after[12] != 0.0f)
    fail(c, "freeglut draws it, but the tables have only codes 0 to 255");
}

struct Lit {
  float advance;
  std::vector<int> pixels;  // x, y from the raster position rounded down
};
constexpr int kArea = 64;  // the square read back, in pixels

Lit bitmapGlyph(void* font, int c, float x, float y) {
  glViewport(0, 0, kArea, kArea);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glColor3f(1, 1, 1);
  glWindowPos2f(x, y);
  glutBitmapCharacter(font, c);
  GLfloat raster[4];
  GLint valid = 0;
  glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
  glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
  if (!valid || raster[1] != y) fail(c, "freeglut moved the raster position other than along x");
  std::vector<unsigned char> red(kArea * kArea);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, kArea, kArea, GL_RED, GL_UNSIGNED_BYTE, red.data());
  Lit lit{raster[0] - x, {}};
  for (int py = 0; py < kArea; ++py)
    for (int px = 0; px < kArea; ++px) {
      if (!red[py * kArea + px]) continue;
      if (px == 0 || py == 0 || px == kArea - 1 || py == kArea - 1)
        fail(c, "the glyph reaches past the area read back");
      lit.pixels.insert(lit.pixels.end(), {px - static_cast<int>(std::floor(x)),
                                           py - static_cast<int>(std::floor(y))});
    }
  return lit;
}

}  // namespace

StrokeFontTable tableOf(const StrokeFontData& font) {
  return {font.glyphs.data(), font.strip_starts.data(), font.points.data()};
}
BitmapFontTable tableOf(const BitmapFontData& font) {
  return {font.glyphs.data(), font.rows.data()};
}

void openCaptureWindow(int width, int height) {
  int argc = 1;
  char name[] = "quillmoor-fontgen";
  char* argv[] = {name, nullptr};
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
  glutInitWindowSize(width, height);
  glutCreateWindow(name);
  glDrawBuffer(GL_BACK);
}

StrokeFontData captureStrokeFont(void* font) {
  if (!hasExtension("GL_ARB_pipeline_statistics_query"))
    throw std::runtime_error("the GL cannot count vertices (GL_ARB_pipeline_statistics_query)");
  StrokeFontData out;
  for (int c = 0; c < kFontCodes; ++c) captureStrokeGlyph(font, c, out);
  for (int c = 1; c <= kFontCodes; ++c) checkStrokeIgnores(font, -c), checkStrokeIgnores(font, c + 255);
  glLoadIdentity();
  return out;
}

BitmapFontData captureBitmapFont(void* font) {
  BitmapFontData out;
  for (int c = 0; c < kFontCodes; ++c) {
    const Lit lit = bitmapGlyph(font, c, 24.0f, 24.0f);
    // Between pixels the raster position is rounded down, as glBitmap does with a whole
    // origin; a glyph whose origin had a fraction would land elsewhere.
    const Lit again = bitmapGlyph(font, c, 30.75f, 27.5f);
    if (again.pixels != lit.pixels || again.advance != lit.advance)
      fail(c, "drawn from a raster position between pixels, it lands elsewhere");
    int left = 127, bottom = 127, right = -128, top = -128;
    for (size_t i = 0; i < lit.pixels.size(); i += 2) {
      left = std::min(left, lit.pixels[i]), right = std::max(right, lit.pixels[i]);
      bottom = std::min(bottom, lit.pixels[i + 1]), top = std::max(top, lit.pixels[i + 1]);
    }
    BitmapGlyph glyph{lit.advance, 0, 0, 0, 0, static_cast<unsigned short>(out.rows.size())};
    if (!lit.pixels.empty()) {
      glyph.left = static_cast<signed char>(left), glyph.bottom = static_cast<signed char>(bottom);
      glyph.width = static_cast<unsigned char>(right - left + 1);
      glyph.height = static_cast<unsigned char>(top - bottom + 1);
      const int row_bytes = (glyph.width + 7) / 8;
      out.rows.resize(out.rows.size() + row_bytes * glyph.height);
      for (size_t i = 0; i < lit.pixels.size(); i += 2) {
        const int column = lit.pixels[i] - left, row = lit.pixels[i + 1] - bottom;
        out.rows[glyph.first_row + row * row_bytes + column / 8] |= 0x80 >> column % 8;
      }
    }
    out.glyphs.push_back(glyph);
  }
  for (int c : {-256, -128, -1, 256, 1000}) {
    const Lit lit = bitmapGlyph(font, c, 24.0f, 24.0f);
    if (!lit.pixels.empty() || lit.advance != 0.0f)
      fail(c, "freeglut draws it, but the tables have only codes 0 to 255");
  }
  return out;
}

void checkStrokeLengths(void* font, const StrokeFontTable& table) {
  std::vector<std::string> texts = {"", "\n\n", "Quillmoor\nis\n2D physics", "a\nmuch longer line\n"};
  for (int a = 1; a < kFontCodes; ++a) {
    texts.push_back(std::string(1, static_cast<char>(a)));
    for (int b = 1; b < kFontCodes; ++b) texts.push_back({static_cast<char>(a), static_cast<char>(b)});
  }
  for (const std::string& text : texts) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.c_str());
    const int want = glutStrokeLength(font, bytes), got = strokeLength(table, bytes);
    if (got != want)
      throw std::runtime_error("glutStrokeLength gives " + std::to_string(want) + " for \"" +
                               text + "\", the tables " + std::to_string(got));
  }
}
