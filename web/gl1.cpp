// GL 1.x over WebGL: vertices given one by one (or from a buffer) are gathered until glEnd,
// moved into window pixels where lines get their width and stipple and points their size, and
// kept as triangles until something that changes how they look (blending, texture, viewport,
// clear, the frame's end); then one draw of one small shader, which multiplies the colour by
// the texture when texturing is on, draws them all. A scene of many small meshes is one draw.
#define GL_GLEXT_PROTOTYPES
#include "gl1.h"

#include <GL/glext.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

namespace {

using Matrix = std::array<float, 16>;  // column-major, as GL keeps it

constexpr Matrix kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

Matrix multiply(const Matrix& a, const Matrix& b) {
  Matrix m{};
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a[k * 4 + r] * b[c * 4 + k];
      m[c * 4 + r] = sum;
    }
  return m;
}

struct Vertex {
  float x, y;  // normalised device coordinates once gathered
  float r, g, b, a;
  float u, v;
};

// What glPushAttrib(GL_ENABLE_BIT) keeps.
struct Enables {
  bool blend = false, texture = false, stipple = false, cull = false, depth = false;
};

struct State {
  std::vector<Matrix> projection{kIdentity}, modelview{kIdentity};
  bool projecting = false;  // glMatrixMode(GL_PROJECTION)
  Enables enables;
  std::vector<Enables> saved;
  float color[4] = {1, 1, 1, 1};
  float uv[2] = {0, 0};
  float line_width = 1.0f, point_size = 1.0f;
  int stipple_factor = 1;
  unsigned stipple_pattern = 0xFFFF;
  GLint viewport[4] = {0, 0, 0, 0};
  float raster[2] = {0, 0};

  GLenum mode = 0;
  Matrix placing = kIdentity;     // projection times modelview, fixed from glBegin to glEnd
  std::vector<Vertex> gathered;   // this glBegin's vertices
  std::vector<Vertex> triangles;  // what goes to the GPU at the next flush

  std::map<GLuint, std::vector<unsigned char>> buffers;  // what glBufferData was given

  GLuint array_buffer = 0;  // bound for glBufferData and glDrawArrays
  bool vertex_array = false, color_array = false;
  GLint vertex_size = 2, color_size = 3;
  GLenum vertex_type = GL_FLOAT, color_type = GL_FLOAT;
  GLsizei vertex_stride = 0, color_stride = 0;
  const void* vertex_offset = nullptr;
  const void* color_offset = nullptr;

  GLuint program = 0, stream = 0;
  GLint textured_uniform = -1;
};

State& gl() {
  static State state;
  return state;
}

Matrix& current() {
  State& s = gl();
  return s.projecting ? s.projection.back() : s.modelview.back();
}

Matrix combined() { return multiply(gl().projection.back(), gl().modelview.back()); }

// Window pixels from normalised device coordinates and back.
void toWindow(float& x, float& y) {
  const GLint* v = gl().viewport;
  x = v[0] + (x + 1.0f) * 0.5f * v[2];
  y = v[1] + (y + 1.0f) * 0.5f * v[3];
}

Vertex fromWindow(Vertex p) {
  const GLint* v = gl().viewport;
  p.x = (p.x - v[0]) / v[2] * 2.0f - 1.0f;
  p.y = (p.y - v[1]) / v[3] * 2.0f - 1.0f;
  return p;
}

void addVertex(float x, float y) {
  State& s = gl();
  const Matrix& m = s.placing;
  const float w = m[3] * x + m[7] * y + m[15];
  s.gathered.push_back({(m[0] * x + m[4] * y + m[12]) / w, (m[1] * x + m[5] * y + m[13]) / w,
                        s.color[0], s.color[1], s.color[2], s.color[3], s.uv[0], s.uv[1]});
}

Vertex mix(const Vertex& a, const Vertex& b, float t) {
  auto lerp = [t](float p, float q) { return p + (q - p) * t; };
  return {lerp(a.x, b.x), lerp(a.y, b.y), lerp(a.r, b.r), lerp(a.g, b.g),
          lerp(a.b, b.b), lerp(a.a, b.a), lerp(a.u, b.u), lerp(a.v, b.v)};
}

void triangle(const Vertex& a, const Vertex& b, const Vertex& c) {
  gl().triangles.insert(gl().triangles.end(), {a, b, c});
}

// A segment given in window pixels, as a rectangle the line's width across.
void band(Vertex a, Vertex b) {
  const float dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
  if (length == 0.0f) return;
  const float half = std::max(gl().line_width, 1.0f) * 0.5f;
  const float nx = -dy / length * half, ny = dx / length * half;
  Vertex a1 = a, a2 = a, b1 = b, b2 = b;
  a1.x += nx, a1.y += ny, a2.x -= nx, a2.y -= ny;
  b1.x += nx, b1.y += ny, b2.x -= nx, b2.y -= ny;
  a1 = fromWindow(a1), a2 = fromWindow(a2), b1 = fromWindow(b1), b2 = fromWindow(b2);
  triangle(a1, b1, b2);
  triangle(a1, b2, a2);
}

// A segment in window pixels, cut into the stipple's dashes; `counted` carries the pattern's
// position along a strip. The pattern is counted along the line's length, as Mesa, which draws
// the desktop's pictures, counts it (GL itself would count along the major axis).
void segment(Vertex a, Vertex b, float& counted) {
  toWindow(a.x, a.y), toWindow(b.x, b.y);
  const State& s = gl();
  if (!s.enables.stipple) return band(a, b);
  const float length = std::hypot(b.x - a.x, b.y - a.y);
  float start = 0.0f;
  while (start < length) {
    const float run = std::floor((counted + start) / s.stipple_factor);
    const int bit = static_cast<int>(run) % 16;
    const float next = std::min(length, (run + 1.0f) * s.stipple_factor - counted);
    if (s.stipple_pattern >> bit & 1u) band(mix(a, b, start / length), mix(a, b, next / length));
    start = next;
  }
  counted += length;
}

void point(Vertex p) {
  toWindow(p.x, p.y);
  const float half = gl().point_size * 0.5f;
  Vertex c[4] = {p, p, p, p};
  c[0].x -= half, c[0].y -= half, c[1].x += half, c[1].y -= half;
  c[2].x += half, c[2].y += half, c[3].x -= half, c[3].y += half;
  for (Vertex& v : c) v = fromWindow(v);
  triangle(c[0], c[1], c[2]);
  triangle(c[0], c[2], c[3]);
}

void flush() {
  State& s = gl();
  if (s.triangles.empty()) return;
  glUseProgram(s.program);
  glUniform1i(s.textured_uniform, s.enables.texture ? 1 : 0);
  glBindBuffer(GL_ARRAY_BUFFER, s.stream);
  glBufferData(GL_ARRAY_BUFFER, s.triangles.size() * sizeof(Vertex), s.triangles.data(),
               GL_STREAM_DRAW);
  const auto at = [](size_t offset) { return reinterpret_cast<const void*>(offset); };
  glEnableVertexAttribArray(0);
  glEnableVertexAttribArray(1);
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, x)));
  glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, r)));
  glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, u)));
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(s.triangles.size()));
  s.triangles.clear();
}

GLuint compile(GLenum kind, const char* source) {
  const GLuint shader = glCreateShader(kind);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[512] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    std::fprintf(stderr, "quillmoor: shader: %s\n", log);
  }
  return shader;
}

constexpr const char* kVertexShader = R"(
attribute vec2 position;
attribute vec4 colour;
attribute vec2 texel;
varying vec4 v_colour;
varying vec2 v_texel;
void main() {
  gl_Position = vec4(position, 0.0, 1.0);
  v_colour = colour;
  v_texel = texel;
})";

constexpr const char* kFragmentShader = R"(
precision mediump float;
uniform sampler2D image;
uniform bool textured;
varying vec4 v_colour;
varying vec2 v_texel;
void main() {
  gl_FragColor = textured ? v_colour * texture2D(image, v_texel) : v_colour;
})";

void setCapability(GLenum cap, bool on) {
  on ? glEnable(cap) : glDisable(cap);
}

void applyEnables(const Enables& e) {
  setCapability(GL_BLEND, e.blend);
  setCapability(GL_CULL_FACE, e.cull);
  setCapability(GL_DEPTH_TEST, e.depth);
}

bool* enableFlag(GLenum cap) {
  Enables& e = gl().enables;
  switch (cap) {
    case GL_BLEND: return &e.blend;
    case GL_TEXTURE_2D: return &e.texture;
    case GL_LINE_STIPPLE: return &e.stipple;
    case GL_CULL_FACE: return &e.cull;
    case GL_DEPTH_TEST: return &e.depth;
    default: return nullptr;  // smoothing, lighting, colour material: nothing to do here
  }
}

void setEnabled(GLenum cap, bool on) {
  if (bool* flag = enableFlag(cap); flag && *flag != on) {
    flush();
    *flag = on;
    applyEnables(gl().enables);
  }
}

}  // namespace

extern "C" {

void qmInit() {
  State& s = gl();
  s.program = glCreateProgram();
  glAttachShader(s.program, compile(GL_VERTEX_SHADER, kVertexShader));
  glAttachShader(s.program, compile(GL_FRAGMENT_SHADER, kFragmentShader));
  glBindAttribLocation(s.program, 0, "position");
  glBindAttribLocation(s.program, 1, "colour");
  glBindAttribLocation(s.program, 2, "texel");
  glLinkProgram(s.program);
  s.textured_uniform = glGetUniformLocation(s.program, "textured");
  glUseProgram(s.program);
  glUniform1i(glGetUniformLocation(s.program, "image"), 0);
  glGenBuffers(1, &s.stream);
  glGetIntegerv(GL_VIEWPORT, s.viewport);
}

void qmFinish() { flush(); }

void qmBegin(GLenum mode) {
  gl().mode = mode;
  gl().placing = combined();
  gl().gathered.clear();
}

void qmEnd() {
  State& s = gl();
  const std::vector<Vertex>& v = s.gathered;
  const size_t n = v.size();
  float counted = 0.0f;
  switch (s.mode) {
    case GL_TRIANGLES:
      for (size_t i = 0; i + 2 < n; i += 3) triangle(v[i], v[i + 1], v[i + 2]);
      break;
    case GL_QUADS:
      for (size_t i = 0; i + 3 < n; i += 4)
        triangle(v[i], v[i + 1], v[i + 2]), triangle(v[i], v[i + 2], v[i + 3]);
      break;
    case GL_TRIANGLE_FAN:
    case GL_POLYGON:
      for (size_t i = 1; i + 1 < n; ++i) triangle(v[0], v[i], v[i + 1]);
      break;
    case GL_TRIANGLE_STRIP:
      for (size_t i = 0; i + 2 < n; ++i) triangle(v[i], v[i + 1], v[i + 2]);
      break;
    case GL_LINES:
      for (size_t i = 0; i + 1 < n; i += 2) counted = 0.0f, segment(v[i], v[i + 1], counted);
      break;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
      for (size_t i = 0; i + 1 < n; ++i) segment(v[i], v[i + 1], counted);
      if (s.mode == GL_LINE_LOOP && n > 2) segment(v[n - 1], v[0], counted);
      break;
    case GL_POINTS:
      for (const Vertex& p : v) point(p);
      break;
  }
  s.gathered.clear();
}

void qmVertex2f(GLfloat x, GLfloat y) { addVertex(x, y); }
void qmVertex2d(GLdouble x, GLdouble y) { addVertex(static_cast<float>(x), static_cast<float>(y)); }
void qmVertex2i(GLint x, GLint y) { addVertex(static_cast<float>(x), static_cast<float>(y)); }
void qmVertex3f(GLfloat x, GLfloat y, GLfloat) { addVertex(x, y); }
void qmColor3f(GLfloat r, GLfloat g, GLfloat b) { qmColor4f(r, g, b, 1.0f); }
void qmColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
  float* c = gl().color;
  c[0] = r, c[1] = g, c[2] = b, c[3] = a;
}
void qmColor4fv(const GLfloat* c) { qmColor4f(c[0], c[1], c[2], c[3]); }
void qmTexCoord2f(GLfloat s, GLfloat t) { gl().uv[0] = s, gl().uv[1] = t; }

void qmRecti(GLint x1, GLint y1, GLint x2, GLint y2) {
  qmBegin(GL_QUADS);
  qmVertex2i(x1, y1), qmVertex2i(x2, y1), qmVertex2i(x2, y2), qmVertex2i(x1, y2);
  qmEnd();
}

void qmRasterPos2i(GLint x, GLint y) {
  const Matrix m = combined();
  float wx = m[0] * x + m[4] * y + m[12], wy = m[1] * x + m[5] * y + m[13];
  toWindow(wx, wy);
  gl().raster[0] = wx, gl().raster[1] = wy;
}

void qmRasterWindowPos(float* x, float* y) { *x = gl().raster[0], *y = gl().raster[1]; }
void qmSetRasterWindowPos(float x, float y) { gl().raster[0] = x, gl().raster[1] = y; }

void qmMatrixMode(GLenum mode) { gl().projecting = mode == GL_PROJECTION; }
void qmLoadIdentity() { current() = kIdentity; }
void qmPushMatrix() {
  std::vector<Matrix>& stack = gl().projecting ? gl().projection : gl().modelview;
  stack.push_back(stack.back());
}
void qmPopMatrix() {
  std::vector<Matrix>& stack = gl().projecting ? gl().projection : gl().modelview;
  if (stack.size() > 1) stack.pop_back();
}

void qmOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  Matrix m = kIdentity;
  m[0] = static_cast<float>(2.0 / (r - l));
  m[5] = static_cast<float>(2.0 / (t - b));
  m[10] = static_cast<float>(-2.0 / (f - n));
  m[12] = static_cast<float>(-(r + l) / (r - l));
  m[13] = static_cast<float>(-(t + b) / (t - b));
  m[14] = static_cast<float>(-(f + n) / (f - n));
  current() = multiply(current(), m);
}

void qmTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  Matrix m = kIdentity;
  m[12] = x, m[13] = y, m[14] = z;
  current() = multiply(current(), m);
}

void qmRotatef(GLfloat degrees, GLfloat x, GLfloat y, GLfloat z) {
  // The viewer turns only about z.
  const double radians = degrees * 3.14159265358979323846 / 180.0;
  const float c = static_cast<float>(std::cos(radians)), s = static_cast<float>(std::sin(radians));
  const float sign = z < 0.0f ? -1.0f : 1.0f;
  (void)x, (void)y;
  Matrix m = kIdentity;
  m[0] = c, m[1] = sign * s, m[4] = -sign * s, m[5] = c;
  current() = multiply(current(), m);
}

void qmScalef(GLfloat x, GLfloat y, GLfloat z) {
  Matrix m = kIdentity;
  m[0] = x, m[5] = y, m[10] = z;
  current() = multiply(current(), m);
}

void qmEnable(GLenum cap) { setEnabled(cap, true); }
void qmDisable(GLenum cap) { setEnabled(cap, false); }
void qmPushAttrib(GLbitfield) { gl().saved.push_back(gl().enables); }
void qmPopAttrib() {
  State& s = gl();
  if (s.saved.empty()) return;
  flush();
  s.enables = s.saved.back();
  s.saved.pop_back();
  applyEnables(s.enables);
}

void qmLineWidth(GLfloat width) { gl().line_width = width; }
void qmPointSize(GLfloat size) { gl().point_size = size; }
void qmLineStipple(GLint factor, GLushort pattern) {
  gl().stipple_factor = std::max(factor, 1);
  gl().stipple_pattern = pattern;
}
void qmHint(GLenum, GLenum) {}
void qmBlendFunc(GLenum src, GLenum dst) {
  flush();
  glBlendFunc(src, dst);
}
void qmViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
  flush();
  GLint* v = gl().viewport;
  v[0] = x, v[1] = y, v[2] = w, v[3] = h;
  glViewport(x, y, w, h);
}
void qmClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { glClearColor(r, g, b, a); }
void qmClear(GLbitfield mask) {
  flush();
  glClear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
}

void qmGetIntegerv(GLenum name, GLint* out) {
  if (name == GL_MATRIX_MODE) {
    *out = gl().projecting ? GL_PROJECTION : GL_MODELVIEW;
  } else if (name == GL_VIEWPORT) {
    for (int i = 0; i < 4; ++i) out[i] = gl().viewport[i];
  } else {
    glGetIntegerv(name, out);
  }
}

void qmGetDoublev(GLenum name, GLdouble* out) {
  const Matrix& m =
      name == GL_PROJECTION_MATRIX ? gl().projection.back() : gl().modelview.back();
  for (int i = 0; i < 16; ++i) out[i] = m[i];
}

void qmGenTextures(GLsizei n, GLuint* names) { glGenTextures(n, names); }
void qmBindTexture(GLenum target, GLuint name) {
  flush();
  glBindTexture(target, name);
}
void qmTexImage2D(GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border,
                  GLenum format, GLenum type, const void* pixels) {
  flush();
  glTexImage2D(target, level, internal, w, h, border, format, type, pixels);
}
void qmTexParameteri(GLenum target, GLenum name, GLint value) {
  glTexParameteri(target, name, value == GL_CLAMP ? GL_CLAMP_TO_EDGE : value);
}
void qmTexEnvi(GLenum, GLenum, GLint) {}  // the shader always modulates
void qmCopyTexImage2D(GLenum target, GLint level, GLenum internal, GLint x, GLint y, GLsizei w,
                      GLsizei h, GLint border) {
  flush();
  glCopyTexImage2D(target, level, internal, x, y, w, h, border);
}

void qmGenBuffers(GLsizei n, GLuint* names) { glGenBuffers(n, names); }
void qmDeleteBuffers(GLsizei n, const GLuint* names) {
  for (GLsizei i = 0; i < n; ++i) gl().buffers.erase(names[i]);
  glDeleteBuffers(n, names);
}
void qmBindBuffer(GLenum target, GLuint name) {
  if (target == GL_ARRAY_BUFFER) gl().array_buffer = name;
}
// Kept here: their vertices join the gathered triangles, moved by the matrix of the moment.
void qmBufferData(GLenum target, long size, const void* data, GLenum) {
  if (target != GL_ARRAY_BUFFER) return;
  const auto* bytes = static_cast<const unsigned char*>(data);
  gl().buffers[gl().array_buffer].assign(bytes, bytes + size);
}
void qmEnableClientState(GLenum array) {
  (array == GL_COLOR_ARRAY ? gl().color_array : gl().vertex_array) = true;
}
void qmDisableClientState(GLenum array) {
  (array == GL_COLOR_ARRAY ? gl().color_array : gl().vertex_array) = false;
}
void qmVertexPointer(GLint size, GLenum type, GLsizei stride, const void* offset) {
  State& s = gl();
  s.vertex_size = size, s.vertex_type = type, s.vertex_stride = stride, s.vertex_offset = offset;
}
void qmColorPointer(GLint size, GLenum type, GLsizei stride, const void* offset) {
  State& s = gl();
  s.color_size = size, s.color_type = type, s.color_stride = stride, s.color_offset = offset;
}

void qmDrawArrays(GLenum mode, GLint first, GLsizei count) {
  State& s = gl();
  const auto found = s.buffers.find(s.array_buffer);
  if (!s.vertex_array || s.vertex_type != GL_FLOAT || found == s.buffers.end()) return;
  const std::vector<unsigned char>& bytes = found->second;
  const auto offset = [](const void* p) { return reinterpret_cast<size_t>(p); };
  const size_t vertex_stride = s.vertex_stride ? s.vertex_stride : s.vertex_size * sizeof(float);
  const size_t color_stride = s.color_stride ? s.color_stride : s.color_size * sizeof(float);
  const float kept[4] = {s.color[0], s.color[1], s.color[2], s.color[3]};
  qmBegin(mode);
  for (GLint i = first; i < first + count; ++i) {
    const size_t at = offset(s.vertex_offset) + i * vertex_stride;
    if (at + 2 * sizeof(float) > bytes.size()) break;
    float xy[2];
    std::memcpy(xy, &bytes[at], sizeof xy);
    const size_t color_at = offset(s.color_offset) + i * color_stride;
    if (s.color_array && s.color_type == GL_FLOAT &&
        color_at + s.color_size * sizeof(float) <= bytes.size()) {
      float rgba[4] = {0.0f, 0.0f, 0.0f, 1.0f};
      std::memcpy(rgba, &bytes[color_at], std::min(s.color_size, 4) * sizeof(float));
      qmColor4fv(rgba);
    }
    addVertex(xy[0], xy[1]);
  }
  qmEnd();
  qmColor4fv(kept);  // as in GL, where an array leaves the current colour alone
}

GLint qmUnProject(GLdouble wx, GLdouble wy, GLdouble wz, const GLdouble* model,
                  const GLdouble* proj, const GLint* viewport, GLdouble* x, GLdouble* y,
                  GLdouble* z) {
  // Both matrices are affine in x and y for everything the viewer draws: invert the 2D part.
  double m[16];
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += proj[k * 4 + r] * model[c * 4 + k];
      m[c * 4 + r] = sum;
    }
  const double nx = (wx - viewport[0]) / viewport[2] * 2.0 - 1.0;
  const double ny = (wy - viewport[1]) / viewport[3] * 2.0 - 1.0;
  const double det = m[0] * m[5] - m[4] * m[1];
  if (det == 0.0) return GL_FALSE;
  const double px = nx - m[12], py = ny - m[13];
  *x = (m[5] * px - m[4] * py) / det;
  *y = (m[0] * py - m[1] * px) / det;
  *z = wz;
  return GL_TRUE;
}

}  // extern "C"
