// Recording double: each GL, GLU and GLUT entry point appends itself to gl::calls.
#include "support.h"

#include <GL/glu.h>
#include <GL/glut.h>

std::vector<GlCall> gl::calls;
int gl::frames;
unsigned gl::nextList = 1;
bool gl::recording = true;

#define REC(...) (gl::recording ? gl::calls.push_back({__func__, {__VA_ARGS__}}) : void())
using D = double;

void glClear(GLbitfield mask) { REC(D(mask)); }
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { REC(r, g, b, a); }
void glEnable(GLenum cap) { REC(D(cap)); }
void glShadeModel(GLenum mode) { REC(D(mode)); }
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
GLuint glGenLists(GLsizei range) {
  return REC(D(range)), gl::nextList ? (gl::nextList += range) - range : 0;
}
void glNewList(GLuint list, GLenum mode) { REC(D(list), D(mode)); }
void glEndList() { REC(); }
void glCallList(GLuint list) { REC(D(list)); }
void glFlush() { REC(); }
void gluLookAt(D ex, D ey, D ez, D cx, D cy, D cz, D ux, D uy, D uz) {
  REC(ex, ey, ez, cx, cy, cz, ux, uy, uz);
}
void glutInit(int *, char **) { REC(); }
void glutInitDisplayMode(unsigned int mode) { REC(D(mode)); }
void glutInitWindowSize(int w, int h) { REC(D(w), D(h)); }
void glutInitWindowPosition(int x, int y) { REC(D(x), D(y)); }
int glutCreateWindow(const char *) { return REC(), 1; }
void glutDisplayFunc(void (*)()) { REC(); }
void glutReshapeFunc(void (*)(int, int)) { REC(); }
void glutKeyboardFunc(void (*)(unsigned char, int, int)) { REC(); }
void glutSpecialFunc(void (*)(int, int, int)) { REC(); }
void glutIdleFunc(void (*)()) { REC(); }
void glutMainLoop() { REC(); }
void glutSwapBuffers() { REC(), gl::frames++; }
