#pragma once
// The part of OpenGL 1.x that the viewer draws with, carried out over WebGL, which has no
// immediate mode, matrix stacks, wide lines, stipple or attribute stack. gl1_names.h maps the
// viewer's gl* calls onto these, so the drawing code is the desktop's own.
#include <GL/gl.h>

extern "C" {
void qmBegin(GLenum mode);
void qmEnd();
void qmVertex2f(GLfloat x, GLfloat y);
void qmVertex2d(GLdouble x, GLdouble y);
void qmVertex2i(GLint x, GLint y);
void qmVertex3f(GLfloat x, GLfloat y, GLfloat z);
void qmColor3f(GLfloat r, GLfloat g, GLfloat b);
void qmColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void qmColor4fv(const GLfloat* c);
void qmTexCoord2f(GLfloat s, GLfloat t);
void qmRecti(GLint x1, GLint y1, GLint x2, GLint y2);
void qmRasterPos2i(GLint x, GLint y);

void qmMatrixMode(GLenum mode);
void qmLoadIdentity();
void qmPushMatrix();
void qmPopMatrix();
void qmOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f);
void qmTranslatef(GLfloat x, GLfloat y, GLfloat z);
void qmRotatef(GLfloat degrees, GLfloat x, GLfloat y, GLfloat z);
void qmScalef(GLfloat x, GLfloat y, GLfloat z);

void qmEnable(GLenum cap);
void qmDisable(GLenum cap);
void qmPushAttrib(GLbitfield mask);
void qmPopAttrib();
void qmLineWidth(GLfloat width);
void qmPointSize(GLfloat size);
void qmLineStipple(GLint factor, GLushort pattern);
void qmHint(GLenum target, GLenum mode);
void qmBlendFunc(GLenum src, GLenum dst);
void qmViewport(GLint x, GLint y, GLsizei w, GLsizei h);
void qmClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void qmClear(GLbitfield mask);
void qmGetIntegerv(GLenum name, GLint* out);
void qmGetDoublev(GLenum name, GLdouble* out);

void qmGenTextures(GLsizei n, GLuint* names);
void qmBindTexture(GLenum target, GLuint name);
void qmTexImage2D(GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border,
                  GLenum format, GLenum type, const void* pixels);
void qmTexParameteri(GLenum target, GLenum name, GLint value);
void qmTexEnvi(GLenum target, GLenum name, GLint value);
void qmCopyTexImage2D(GLenum target, GLint level, GLenum internal, GLint x, GLint y, GLsizei w,
                      GLsizei h, GLint border);

void qmGenBuffers(GLsizei n, GLuint* names);
void qmDeleteBuffers(GLsizei n, const GLuint* names);
void qmBindBuffer(GLenum target, GLuint name);
void qmBufferData(GLenum target, long size, const void* data, GLenum usage);
void qmEnableClientState(GLenum array);
void qmDisableClientState(GLenum array);
void qmVertexPointer(GLint size, GLenum type, GLsizei stride, const void* offset);
void qmColorPointer(GLint size, GLenum type, GLsizei stride, const void* offset);
void qmDrawArrays(GLenum mode, GLint first, GLsizei count);

GLint qmUnProject(GLdouble wx, GLdouble wy, GLdouble wz, const GLdouble* model,
                  const GLdouble* proj, const GLint* viewport, GLdouble* x, GLdouble* y,
                  GLdouble* z);

// The raster position in window pixels (y up), where the bitmap font draws.
void qmRasterWindowPos(float* x, float* y);
void qmSetRasterWindowPos(float x, float y);

// Creates the drawing state once the WebGL context is current.
void qmInit();
// Draws what is gathered: before the frame is shown or its pixels are read.
void qmFinish();
}
