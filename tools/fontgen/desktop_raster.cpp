// The raster position the web build's GL keeps for bitmapCharacter, here kept by GL itself.
#include <GL/gl.h>
#include <GL/glext.h>

#include "fonts.h"

void qmRasterWindowPos(float* x, float* y) {
  GLfloat raster[4];
  glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
  *x = raster[0], *y = raster[1];
}

void qmSetRasterWindowPos(float x, float y) { glWindowPos2f(x, y); }
