// A GL, GLU and GLUT that do no work, linked in place of the real ones: a frame against them costs
// the game's own time alone, with no driver and no recording.
#include <GL/glut.h> // with GL and GLU

void glClear(GLbitfield) {}
void glViewport(GLint, GLint, GLsizei, GLsizei) {}
void glMatrixMode(GLenum) {}
void glLoadIdentity() {}
void glFrustum(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) {}
void glLightfv(GLenum, GLenum, const GLfloat *) {}
void glMaterialfv(GLenum, GLenum, const GLfloat *) {}
void glBegin(GLenum) {}
void glEnd() {}
void glNormal3f(GLfloat, GLfloat, GLfloat) {}
void glVertex3f(GLfloat, GLfloat, GLfloat) {}
void glTranslatef(GLfloat, GLfloat, GLfloat) {}
void glScalef(GLfloat, GLfloat, GLfloat) {}
GLuint glGenLists(GLsizei) { return 1; } // never 0, so the game records its spheres as with a GL
void glNewList(GLuint, GLenum) {}
void glEndList() {}
void glCallList(GLuint) {}
void glFlush() {}
void gluLookAt(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble,
               GLdouble) {}
void glutSwapBuffers() {}
