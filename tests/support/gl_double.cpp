// Recording double: each GL, GLU and GLUT entry point appends itself to gl::calls.
#include "gl_double.h"

#include <GL/glu.h>
#include <GL/glut.h>
#include <initializer_list>

namespace gl {
std::vector<GlCall> calls;
int frames;
unsigned nextList = 1;
bool recording = true;
const char *title;
void (*display)(), (*reshape)(int, int), (*idle)();
void (*keyboard)(unsigned char, int, int), (*special)(int, int, int);
void reset() { calls.clear(), frames = 0; }
} // namespace gl

static void record(std::string_view name, std::initializer_list<double> args) {
  if (!gl::recording) return;
  GlCall call{name, {}, (int)args.size()};
  int i = 0;
  for (double arg : args)
    call.a[i++] = arg;
  gl::calls.push_back(call);
}
#define REC(...) record(__func__, {__VA_ARGS__})
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
  REC((double)range);
  GLuint first = gl::nextList;
  if (first != 0) gl::nextList += range;
  return first;
}
void glNewList(GLuint list, GLenum mode) { REC((double)list, (double)mode); }
void glEndList() { REC(); }
void glCallList(GLuint list) { REC((double)list); }
void glFlush() { REC(); }
void gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz,
               GLdouble ux, GLdouble uy, GLdouble uz) {
  REC(ex, ey, ez, cx, cy, cz, ux, uy, uz);
}

void glutInit(int *argc, char **) { REC((double)*argc); }
void glutInitDisplayMode(unsigned int mode) { REC((double)mode); }
void glutInitWindowSize(int w, int h) { REC(w * 1.0, h * 1.0); }
void glutInitWindowPosition(int x, int y) { REC(x * 1.0, y * 1.0); }
int glutCreateWindow(const char *title) { return REC(), gl::title = title, 1; }
void glutDisplayFunc(void (*f)()) { REC(), gl::display = f; }
void glutReshapeFunc(void (*f)(int, int)) { REC(), gl::reshape = f; }
void glutKeyboardFunc(void (*f)(unsigned char, int, int)) { REC(), gl::keyboard = f; }
void glutSpecialFunc(void (*f)(int, int, int)) { REC(), gl::special = f; }
void glutIdleFunc(void (*f)()) { REC(), gl::idle = f; }
void glutMainLoop() { REC(); }
void glutSwapBuffers() { REC(), gl::frames++; }
