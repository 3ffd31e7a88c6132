// Recording double: logs each GL, GLU and GLUT call the game makes, frame by frame.
#include "gl_recorder.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>
#include <initializer_list>
#include <sstream>

namespace glrec {

std::vector<Call> log;
int framesSwapped;
unsigned long long callCount;
bool logging = true;
void (*displayFunc)(void);
void (*reshapeFunc)(int, int);
void (*keyboardFunc)(unsigned char, int, int);
void (*specialFunc)(int, int, int);
void (*idleFunc)(void);
char **initArgv;

static GLuint nextListId = 1;
static GLuint compilingList;

void reset(void) {
  log.clear();
  framesSwapped = 0;
  callCount = 0;
}

std::vector<Call> named(const std::string &name) {
  std::vector<Call> found;
  for (const Call &call : log)
    if (call.name == name) found.push_back(call);
  return found;
}

std::vector<Call> inFrame(int frame) {
  std::vector<Call> found;
  for (const Call &call : log)
    if (call.frame == frame) found.push_back(call);
  return found;
}

int count(const std::string &name) {
  int n = 0;
  for (const Call &call : log)
    n += call.name == name;
  return n;
}

std::string describe(const Call &call) {
  std::ostringstream out;
  out << call.name << "(";
  for (size_t i = 0; i < call.args.size(); i++)
    out << (i ? ", " : "") << call.args[i];
  if (!call.text.empty()) out << '"' << call.text << '"';
  out << ")";
  return out.str();
}

static void record(const char *name, std::initializer_list<double> args, const float *array = 0,
                   int arrayLength = 0, const char *text = 0) {
  callCount++;
  if (!logging) return;
  Call call;
  call.name = name;
  call.args.assign(args);
  for (int i = 0; i < arrayLength; i++)
    call.args.push_back(array[i]);
  if (text) call.text = text;
  call.frame = framesSwapped;
  call.compiling = compilingList;
  log.push_back(call);
}

} // namespace glrec

using glrec::record;

// OpenGL 1.1
void glClear(GLbitfield mask) { record("glClear", {(double)mask}); }
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
  record("glClearColor", {r, g, b, a});
}
void glEnable(GLenum cap) { record("glEnable", {(double)cap}); }
void glShadeModel(GLenum mode) { record("glShadeModel", {(double)mode}); }
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
  record("glViewport", {(double)x, (double)y, (double)w, (double)h});
}
void glMatrixMode(GLenum mode) { record("glMatrixMode", {(double)mode}); }
void glLoadIdentity(void) { record("glLoadIdentity", {}); }
void glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  record("glFrustum", {l, r, b, t, n, f});
}
void glLightfv(GLenum light, GLenum pname, const GLfloat *params) {
  record("glLightfv", {(double)light, (double)pname}, params, 4);
}
void glMaterialfv(GLenum face, GLenum pname, const GLfloat *params) {
  record("glMaterialfv", {(double)face, (double)pname}, params, 4);
}
void glBegin(GLenum mode) { record("glBegin", {(double)mode}); }
void glEnd(void) { record("glEnd", {}); }
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { record("glNormal3f", {x, y, z}); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { record("glVertex3f", {x, y, z}); }
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { record("glTranslatef", {x, y, z}); }
void glScalef(GLfloat x, GLfloat y, GLfloat z) { record("glScalef", {x, y, z}); }
GLuint glGenLists(GLsizei range) {
  record("glGenLists", {(double)range});
  GLuint first = glrec::nextListId;
  glrec::nextListId += range;
  return first;
}
void glNewList(GLuint list, GLenum mode) {
  record("glNewList", {(double)list, (double)mode});
  glrec::compilingList = list;
}
void glEndList(void) {
  record("glEndList", {});
  glrec::compilingList = 0;
}
void glCallList(GLuint list) { record("glCallList", {(double)list}); }
void glFlush(void) { record("glFlush", {}); }

// GLU
void gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz,
               GLdouble ux, GLdouble uy, GLdouble uz) {
  record("gluLookAt", {ex, ey, ez, cx, cy, cz, ux, uy, uz});
}

// GLUT
void glutInit(int *argc, char **argv) {
  record("glutInit", {(double)*argc}, 0, 0, argv && *argc > 0 ? argv[0] : 0);
  glrec::initArgv = argv;
}
void glutInitDisplayMode(unsigned int mode) { record("glutInitDisplayMode", {(double)mode}); }
void glutInitWindowSize(int w, int h) { record("glutInitWindowSize", {(double)w, (double)h}); }
void glutInitWindowPosition(int x, int y) {
  record("glutInitWindowPosition", {(double)x, (double)y});
}
int glutCreateWindow(const char *title) {
  record("glutCreateWindow", {}, 0, 0, title);
  return 1;
}
void glutDisplayFunc(void (*f)(void)) {
  record("glutDisplayFunc", {});
  glrec::displayFunc = f;
}
void glutReshapeFunc(void (*f)(int, int)) {
  record("glutReshapeFunc", {});
  glrec::reshapeFunc = f;
}
void glutKeyboardFunc(void (*f)(unsigned char, int, int)) {
  record("glutKeyboardFunc", {});
  glrec::keyboardFunc = f;
}
void glutSpecialFunc(void (*f)(int, int, int)) {
  record("glutSpecialFunc", {});
  glrec::specialFunc = f;
}
void glutIdleFunc(void (*f)(void)) {
  record("glutIdleFunc", {});
  glrec::idleFunc = f;
}
// Returns at once, so main runs to its end under test.
void glutMainLoop(void) { record("glutMainLoop", {}); }
void glutSwapBuffers(void) {
  record("glutSwapBuffers", {});
  glrec::framesSwapped++;
}
