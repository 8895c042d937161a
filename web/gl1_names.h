#pragma once
// Included before every viewer source in the web build: the GL 1.x calls become the
// gl1.h replacements. Headers included later are already guarded, so nothing redeclares them.
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <GL/glut.h>

#include "gl1.h"

#define glBegin qmBegin
#define glEnd qmEnd
#define glVertex2f qmVertex2f
#define glVertex2d qmVertex2d
#define glVertex2i qmVertex2i
#define glVertex3f qmVertex3f
#define glColor3f qmColor3f
#define glColor4f qmColor4f
#define glColor4fv qmColor4fv
#define glTexCoord2f qmTexCoord2f
#define glRecti qmRecti
#define glRasterPos2i qmRasterPos2i
#define glMatrixMode qmMatrixMode
#define glLoadIdentity qmLoadIdentity
#define glPushMatrix qmPushMatrix
#define glPopMatrix qmPopMatrix
#define glOrtho qmOrtho
#define glTranslatef qmTranslatef
#define glRotatef qmRotatef
#define glScalef qmScalef
#define glEnable qmEnable
#define glDisable qmDisable
#define glPushAttrib qmPushAttrib
#define glPopAttrib qmPopAttrib
#define glLineWidth qmLineWidth
#define glPointSize qmPointSize
#define glLineStipple qmLineStipple
#define glHint qmHint
#define glBlendFunc qmBlendFunc
#define glViewport qmViewport
#define glClearColor qmClearColor
#define glClear qmClear
#define glGetIntegerv qmGetIntegerv
#define glGetDoublev qmGetDoublev
#define glGenTextures qmGenTextures
#define glBindTexture qmBindTexture
#define glTexImage2D qmTexImage2D
#define glTexParameteri qmTexParameteri
#define glTexEnvi qmTexEnvi
#define glCopyTexImage2D qmCopyTexImage2D
#define glGenBuffers qmGenBuffers
#define glDeleteBuffers qmDeleteBuffers
#define glBindBuffer qmBindBuffer
#define glBufferData(target, size, data, usage) qmBufferData(target, static_cast<long>(size), data, usage)
#define glEnableClientState qmEnableClientState
#define glDisableClientState qmDisableClientState
#define glVertexPointer qmVertexPointer
#define glColorPointer qmColorPointer
#define glDrawArrays qmDrawArrays
#define gluUnProject qmUnProject
