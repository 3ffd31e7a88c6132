// Recording double: each GL, GLU and GLUT entry point appends itself to gl::calls.
#include "support.h"

#include <GL/glut.h> // with GL and GLU
#include <utility>

std::vector<GlCall> gl::calls;
bool gl::outOfLists;

#define REC(...) gl::calls.push_back({__func__, {__VA_ARGS__}})
using D = double;

void glClear(GLbitfield mask) { REC(D(mask)); }
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) { REC(D(x), D(y), D(w), D(h)); }
void glMatrixMode(GLenum mode) { REC(D(mode)); }
void glLoadIdentity() { REC(); }
void glFrustum(D l, D r, D b, D t, D n, D f) { REC(l, r, b, t, n, f); }
void glLightfv(GLenum l, GLenum n, const GLfloat *p) { REC(D(l), D(n), p[0], p[1], p[2], p[3]); }
void glMaterialfv(GLenum f, GLenum n, const GLfloat *p) { REC(D(f), D(n), p[0], p[1], p[2], p[3]); }
void glBegin(GLenum mode) { REC(D(mode)); }
void glEnd() { REC(); }
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { REC(x, y, z); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { REC(x, y, z); }
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { REC(x, y, z); }
void glScalef(GLfloat x, GLfloat y, GLfloat z) { REC(x, y, z); }
GLuint glGenLists(GLsizei n) {
  static GLuint next = 1;
  REC(D(n));
  return gl::outOfLists ? 0 : std::exchange(next, next + n);
}
void glNewList(GLuint list, GLenum mode) { REC(D(list), D(mode)); }
void glEndList() { REC(); }
void glCallList(GLuint list) { REC(D(list)); }
void glFlush() { REC(); }
void gluLookAt(D a, D b, D c, D d, D e, D f, D g, D h, D i) { REC(a, b, c, d, e, f, g, h, i); }
void glutSwapBuffers() { REC(); }
