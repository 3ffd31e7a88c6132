// The browser's GL back-end (web/fixed_function.cpp) on what the game's pictures cannot show: the
// game scales only uniformly, so normals through the modelview itself would look right there.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include "fixed_function.h"

// A normal goes through the modelview's inverse transpose. With the camera looking along +x (the
// rotation R: (x, y, z) to (z, y, -x)) and glScalef(1, 4, 1), (0, 1, 1) becomes R (0, 1/4, 1) =
// (1, 1/4, 0) in eye space; the light on the eye's x axis (world (0, 0, 10)) then gives the diffuse
// term 1 / sqrt(1 + 1/16). The modelview itself would give 0.24, its inverse untransposed 0.
TEST(FixedFunction, NormalsUnderAScaleThatIsNotUniform) {
  for (GLenum capability : {GL_LIGHTING, GL_LIGHT0, GL_NORMALIZE})
    fixedgl::enableFixedFunction(capability, true);
  const GLfloat light[4] = {0, 0, 10, 1}, black[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1};
  glLoadIdentity();
  gluLookAt(0, 0, 0, 1, 0, 0, 0, 1, 0);
  glLightfv(GL_LIGHT0, GL_POSITION, light);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, black);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
  glScalef(1, 4, 1);
  glBegin(GL_TRIANGLES);
  glNormal3f(0, 1, 1);
  for (int corner = 0; corner < 3; corner++)
    glVertex3f(0, 0, 0);
  glEnd();
  ASSERT_EQ(fixedgl::pendingTriangles().size(), 3u);
  EXPECT_NEAR(fixedgl::pendingTriangles()[0].colour[1], 0.9701425f, 1e-6f);
}

// Each glCallList runs the list's calls once: a list run twice draws the same triangles again,
// which the depth test hides in the pictures.
TEST(FixedFunction, AListRunsOncePerCall) {
  fixedgl::enableFixedFunction(GL_LIGHTING, true);
  GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glBegin(GL_QUADS);
  glNormal3f(0, 0, 1);
  glVertex3f(0, 0, 0);
  glVertex3f(1, 0, 0);
  glVertex3f(1, 1, 0);
  glVertex3f(0, 1, 0);
  glEnd();
  glEndList();
  std::vector<fixedgl::Vertex> &drawn = fixedgl::pendingTriangles();
  drawn.clear();
  glCallList(list);
  EXPECT_EQ(drawn.size(), 6u); // the quad as two triangles
  glCallList(list);
  EXPECT_EQ(drawn.size(), 12u);
}

// What the back-end does not do ends the program with a message, never a wrong picture.
TEST(FixedFunctionDeathTest, UnsupportedCallsEndTheProgram) {
  const GLfloat position[4] = {0, 0, 1, 1};
  EXPECT_DEATH(glBegin(GL_LINES), "GL back-end: glBegin: a primitive other than");
  EXPECT_DEATH(glLightfv(GL_LIGHT1, GL_POSITION, position), "a light other than GL_LIGHT0");
  EXPECT_DEATH(glShadeModel(GL_FLAT), "GL_SMOOTH");
}
