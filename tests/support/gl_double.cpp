// Recording double: each GL, GLU and GLUT entry point appends itself to gl::calls.
#include "gl_double.h"

#include <GL/glu.h>
#include <GL/glut.h>

namespace gl {
std::vector<GlCall> calls;
int frames;
unsigned nextList = 1;
bool recording = true;
} // namespace gl

#define REC(...) (gl::recording ? gl::calls.push_back({__func__, {__VA_ARGS__}}) : void())
#define REC4(e1, e2, p) REC((double)e1, (double)e2, p[0], p[1], p[2], p[3])

void glClear(GLbitfield mask) { REC((double)mask); }
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { REC(r, g, b, a); }
void glEnable(GLenum cap) { REC((double)cap); }
void glShadeModel(GLenum mode) { REC((double)mode); }
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) { REC(x * 1.0, y * 1.0, w * 1.0, h * 1.0); }
void glMatrixMode(GLenum mode) { REC((double)mode); }
void glLoadIdentity() { REC(); }
void glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  REC(l, r, b, t, n, f);
}
void glLightfv(GLenum light, GLenum name, const GLfloat *p) { REC4(light, name, p); }
void glMaterialfv(GLenum face, GLenum name, const GLfloat *p) { REC4(face, name, p); }
void glBegin(GLenum mode) { REC((double)mode); }
void glEnd() { REC(); }
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { REC(x, y, z); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { REC(x, y, z); }
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { REC(x, y, z); }
void glScalef(GLfloat x, GLfloat y, GLfloat z) { REC(x, y, z); }
GLuint glGenLists(GLsizei range) {
  return REC(), gl::nextList ? (gl::nextList += range) - range : 0;
}
void glNewList(GLuint list, GLenum mode) { REC((double)list, (double)mode); }
void glEndList() { REC(); }
void glCallList(GLuint list) { REC((double)list); }
void glFlush() { REC(); }
void gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz,
               GLdouble ux, GLdouble uy, GLdouble uz) {
  REC(ex, ey, ez, cx, cy, cz, ux, uy, uz);
}
void glutInit(int *, char **) { REC(); }
void glutInitDisplayMode(unsigned int mode) { REC((double)mode); }
void glutInitWindowSize(int w, int h) { REC(w * 1.0, h * 1.0); }
void glutInitWindowPosition(int x, int y) { REC(x * 1.0, y * 1.0); }
int glutCreateWindow(const char *) { return REC(), 1; }
void glutDisplayFunc(void (*)()) { REC(); }
void glutReshapeFunc(void (*)(int, int)) { REC(); }
void glutKeyboardFunc(void (*)(unsigned char, int, int)) { REC(); }
void glutSpecialFunc(void (*)(int, int, int)) { REC(); }
void glutIdleFunc(void (*)()) { REC(); }
void glutMainLoop() { REC(); }
void glutSwapBuffers() { REC(), gl::frames++; }
