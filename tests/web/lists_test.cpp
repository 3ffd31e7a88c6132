// The web back-end's display lists, natively: each glCallList runs the list's calls once. In the
// browser a list run twice draws the same triangles again, which the depth test hides.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "fixed_function.h"

TEST(WebBackEnd, ListRunsOncePerCall) {
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
  const std::vector<fixedgl::Vertex> &drawn = fixedgl::pendingTriangles();
  EXPECT_EQ(drawn.size(), 0u); // compiled only
  glCallList(list);
  EXPECT_EQ(drawn.size(), 6u); // the quad as two triangles
  glCallList(list);
  EXPECT_EQ(drawn.size(), 12u);
}
