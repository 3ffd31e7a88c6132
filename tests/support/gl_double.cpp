// Recording double: each GL, GLU and GLUT entry point the game calls appends itself to glCalls.
#include "support.h"

#include <GL/glut.h> // with GL and GLU
#include <map>

std::vector<GlCall> glCalls;
static std::map<GLuint, std::vector<GlCall>> held; // the calls that each list holds
static GLuint lists, making, from; // names given out; the list being made, and its first call

#define REC(...) glCalls.push_back({__func__, {__VA_ARGS__}})
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
GLuint glGenLists(GLsizei n) { return REC(D(n)), lists += n; }
void glNewList(GLuint list, GLenum) { REC(D(list)), making = list, from = glCalls.size(); }
void glEndList() { held[making].assign(glCalls.begin() + from, glCalls.end()), REC(); }
void glCallList(GLuint l) { glCalls.insert(glCalls.end(), held[l].begin(), held[l].end()); }
void glFlush() { REC(); }
void gluLookAt(D a, D b, D c, D d, D e, D f, D g, D h, D i) { REC(a, b, c, d, e, f, g, h, i); }
void glutSwapBuffers() { REC(); }
