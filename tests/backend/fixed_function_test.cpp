// The browser's GL back-end, natively: the uniforms and meshes it hands the GPU, read as data.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include "webgl.h"

static std::vector<fixedgl::Draw> handed; // webgl.cpp hands these to the GPU; the test reads them
void fixedgl::drawPending(void) {
  handed.insert(handed.end(), pendingDraws().begin(), pendingDraws().end());
  clearPending();
}

// m (column-major, columns 4 floats apart) times v is `want`, within float rounding.
static void expectTimes(const float *m, std::vector<float> v, std::vector<float> want) {
  for (size_t row = 0; row < want.size(); row++) {
    float sum = 0;
    for (size_t column = 0; column < v.size(); column++)
      sum += m[column * 4 + row] * v[column];
    EXPECT_NEAR(sum, want[row], 1e-5f) << "row " << row;
  }
}

static const float cornerX[4] = {0, 1, 1, 0}, cornerY[4] = {0, 0, 1, 1};
static void quad(float z) {
  glBegin(GL_QUADS);
  glNormal3f(0, 0, 1);
  for (int k = 0; k < 4; k++)
    glVertex3f(cornerX[k], cornerY[k], z);
  glEnd();
}

static const GLfloat light[4] = {1, 2, 10, 1}; // at the world's (1, 2, 10)

// By hand: looking along +x from the origin (eye = (z, y, -x) of the world), then glTranslatef(1,
// 2, 3), glScalef(2, 4, 8), object (1, 0.5, 0.25) is eye (5, 4, -3); the normal (0, 1, 1) turns to
// (1/8, 1/4, 0) by the inverse transpose (the modelview gives (8, 4, 0)); the light stays at eye
// (10, 2, -1), as given. A list is drawn when recorded (as the game records spheres) and at each
// call under its matrices. Quads split v0 v1 v2, v0 v2 v3 as Mesa's do, or the inside shades apart.
TEST(FixedFunction, MatricesLightListsAndQuadsAsTheShaderGetsThem) {
  for (GLenum capability : {GL_LIGHTING, GL_LIGHT0, GL_NORMALIZE})
    fixedgl::enableFixedFunction(capability);
  glMatrixMode(GL_PROJECTION);
  glFrustum(-1, 1, -1, 1, 1, 500);
  glMatrixMode(GL_MODELVIEW);
  gluLookAt(0, 0, 0, 1, 0, 0, 0, 1, 0);
  glLightfv(GL_LIGHT0, GL_POSITION, light);
  glTranslatef(1, 2, 3);
  glScalef(2, 4, 8);
  GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE_AND_EXECUTE);
  quad(0);
  glEndList();
  glTranslatef(0.5f, 0, 0); // the object point (0.5, 0.5, 0.25) now stands where (1, 0.5, 0.25) was
  glCallList(list);
  quad(0);
  for (GLuint number : {0u, list})
    for (int k = 0, corner[6] = {0, 1, 2, 0, 2, 3}; k < 6; k++) {
      const float *at = fixedgl::mesh(number).vertices[fixedgl::mesh(number).indices[k]].position;
      EXPECT_TRUE(at[0] == cornerX[corner[k]] && at[1] == cornerY[corner[k]]) << number << k;
    }
  fixedgl::drawPending();
  ASSERT_EQ(handed.size(), 3u) << "the list when recorded and when called, then the quad";
  expectTimes(handed[0].uniforms.modelviewProjection, {1, 0.5f, 0.25f, 1}, {5, 4, 503.f / 499, 3});
  expectTimes(handed[0].uniforms.normalMatrix, {0, 1, 1}, {0.125f, 0.25f, 0});
  expectTimes(handed[0].uniforms.lightPosition, {1}, {10, 2, -1, 1}); // a one-column matrix
  for (int k = 0; k < 3; k++) {
    EXPECT_TRUE(handed[k].mesh == (k < 2 ? list : 0) && handed[k].count == 6) << "draw " << k;
    expectTimes(handed[k].uniforms.modelview, {k ? 0.5f : 1, 0.5f, 0.25f, 1}, {5, 4, -3, 1});
  }

  // Recorded again, a list holds only its new primitives, under a new version, drawing nothing.
  unsigned long old = fixedgl::mesh(list).version;
  glNewList(list, GL_COMPILE);
  quad(7);
  glEndList();
  const fixedgl::Mesh &mesh = fixedgl::mesh(list);
  EXPECT_TRUE(fixedgl::pendingDraws().empty() && mesh.version != old && mesh.indices.size() == 6);
  for (GLuint index : mesh.indices)
    EXPECT_EQ(mesh.vertices[index].position[2], 7.0f);
}

// The mistakes a change to the game could make end the program, never draw a wrong picture.
TEST(FixedFunctionDeathTest, UnsupportedCallsEndTheProgram) {
  EXPECT_DEATH(glLightfv(GL_LIGHT1, GL_POSITION, light), "but light 0's position");
  EXPECT_DEATH((glNewList(9, GL_COMPILE), glTranslatef(1, 0, 0)), "inside a display list");
  EXPECT_DEATH((glNewList(9, GL_COMPILE), glBegin(GL_TRIANGLES), glVertex3f(0, 0, 0)),
               "before its first glNormal3f");
}
