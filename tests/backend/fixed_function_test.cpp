// The browser's GL back-end (web/fixed_function.cpp) on what the page's pictures cannot show: the
// uniforms and vertices it gives the GPU, read here as plain data (the shader itself runs only in
// the browser, where the web layer compares its pictures).
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <vector>

#include "fixed_function.h"

// What reached the GPU: webgl.cpp's hand-off, here keeping the draws instead of drawing them.
static std::vector<fixedgl::Draw> handed;
void fixedgl::drawPending(void) {
  handed.insert(handed.end(), pendingDraws().begin(), pendingDraws().end());
  clearPending();
}

static std::vector<fixedgl::Draw> drawsSoFar(void) {
  std::vector<fixedgl::Draw> all = handed;
  all.insert(all.end(), fixedgl::pendingDraws().begin(), fixedgl::pendingDraws().end());
  return all;
}

static void startFrame(void) {
  for (GLenum capability : {GL_LIGHTING, GL_LIGHT0, GL_NORMALIZE})
    fixedgl::enableFixedFunction(capability, true);
  fixedgl::clearPending();
  handed.clear();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

// A 3 by 3 or 4 by 4 column-major matrix times a vector.
static std::vector<float> times(const float *m, int size, std::vector<float> v) {
  std::vector<float> out(size, 0.0f);
  for (int row = 0; row < size; row++)
    for (int column = 0; column < size; column++)
      out[row] += m[column * size + row] * v[column];
  return out;
}

static void expectNear(const std::vector<float> &got, const std::vector<float> &want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t k = 0; k < got.size(); k++)
    EXPECT_NEAR(got[k], want[k], 1e-5f) << "component " << k;
}

static void quad(float z) {
  glBegin(GL_QUADS);
  glNormal3f(0, 0, 1);
  glVertex3f(0, 0, z);
  glVertex3f(1, 0, z);
  glVertex3f(1, 1, z);
  glVertex3f(0, 1, z);
  glEnd();
}

// The camera at the origin looking along +x (eye = (z, y, -x) of the world), under the game's
// frustum, then glScalef(1, 4, 1). Worked by hand: the object point (10, 0.5, 3), world (10, 2, 3),
// is (3, 2, -10) to the eye and (3, 2, (501 * 10 - 1000) / 499, 10) in clip space; the normal
// (0, 1, 1) goes through the inverse transpose to R (0, 1/4, 1) = (1, 1/4, 0), where the modelview
// itself would give (1, 4, 0); the light given at world (0, 0, 10) stands at (10, 0, 0) to the
// eye, fixed there when given.
TEST(FixedFunction, MatricesAndLightAsTheShaderGetsThem) {
  startFrame();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-1, 1, -1, 1, 1, 500);
  glMatrixMode(GL_MODELVIEW);
  gluLookAt(0, 0, 0, 1, 0, 0, 0, 1, 0);
  const GLfloat light[4] = {0, 0, 10, 1};
  glLightfv(GL_LIGHT0, GL_POSITION, light);
  glScalef(1, 4, 1);
  quad(0);
  std::vector<fixedgl::Draw> draws = drawsSoFar();
  ASSERT_EQ(draws.size(), 1u);
  const fixedgl::Uniforms &u = draws[0].uniforms;
  expectNear(times(u.modelviewProjection, 4, {10, 0.5f, 3, 1}), {3, 2, 4010.0f / 499, 10});
  expectNear(times(u.modelview, 4, {10, 0.5f, 3, 1}), {3, 2, -10, 1});
  expectNear(times(u.normalMatrix, 3, {0, 1, 1}), {1, 0.25f, 0});
  expectNear(std::vector<float>(u.lightPosition, u.lightPosition + 4), {10, 0, 0, 1});
  float modelview[16], projection[16];
  fixedgl::currentMatrices(modelview, projection);
  expectNear(times(projection, 4, {3, 2, -10, 1}), {3, 2, 4010.0f / 499, 10});
}

// Quads split along the diagonal from their first corner, as Mesa splits them, in immediate mode
// and in lists alike: the other diagonal shades the inside otherwise, within the pictures' rule.
// Quads under the same uniforms go in one draw.
TEST(FixedFunction, QuadsSplitFromTheirFirstCorner) {
  startFrame();
  quad(0);
  quad(1);
  ASSERT_EQ(drawsSoFar().size(), 1u);
  EXPECT_EQ(drawsSoFar()[0].count, 12u);
  const int corner[6] = {0, 1, 2, 0, 2, 3};
  const float x[4] = {0, 1, 1, 0}, y[4] = {0, 0, 1, 1};
  GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  quad(0);
  glEndList();
  unsigned long version;
  const std::vector<GLuint> *indices = nullptr;
  const std::vector<fixedgl::Vertex> *recorded = fixedgl::listVertices(list, &indices, &version);
  ASSERT_NE(recorded, nullptr);
  ASSERT_EQ(indices->size(), 6u);
  for (int k = 0; k < 6; k++) {
    for (const fixedgl::Vertex &v : {fixedgl::pendingVertices()[k], (*recorded)[(*indices)[k]]}) {
      EXPECT_EQ(v.position[0], x[corner[k]]) << "vertex " << k;
      EXPECT_EQ(v.position[1], y[corner[k]]) << "vertex " << k;
      EXPECT_EQ(v.normal[2], 1.0f);
    }
  }
}

// As the game records its sphere lists: GL_COMPILE_AND_EXECUTE in the middle of a frame, under a
// translation. The list is drawn then, once, under the matrices and material of that moment, and
// each later call is one more draw under the matrices and material of its own moment (the
// material a list sets itself splits its draw, and stays set after it).
TEST(FixedFunction, ListsDrawnOncePerCallFromTheFrameThatRecordsThem) {
  startFrame();
  const GLfloat red[4] = {1, 0, 0, 1}, blue[4] = {0, 0, 1, 1}, green[4] = {0, 1, 0, 1};
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, red);
  quad(0); // a tile drawn before
  glTranslatef(5, 0, 0);
  GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE_AND_EXECUTE);
  quad(0);
  glEndList();
  std::vector<fixedgl::Draw> draws = drawsSoFar();
  ASSERT_EQ(draws.size(), 2u) << "the tile, then the list once";
  EXPECT_EQ(draws[1].list, list);
  EXPECT_EQ(draws[1].count, 6u);
  EXPECT_EQ(draws[1].uniforms.modelview[12], 5.0f);
  EXPECT_EQ(draws[1].uniforms.diffuse[0], 1.0f);

  glTranslatef(5, 0, 0);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, blue);
  glCallList(list);
  draws = drawsSoFar();
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(draws[2].uniforms.modelview[12], 10.0f);
  EXPECT_EQ(draws[2].uniforms.diffuse[2], 1.0f);

  GLuint twoColours = glGenLists(1);
  glNewList(twoColours, GL_COMPILE);
  quad(0);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, green);
  quad(1);
  glEndList();
  EXPECT_EQ(drawsSoFar().size(), 3u) << "GL_COMPILE draws nothing";
  glCallList(twoColours);
  draws = drawsSoFar();
  ASSERT_EQ(draws.size(), 5u);
  EXPECT_EQ(draws[3].uniforms.diffuse[2], 1.0f);
  EXPECT_EQ(draws[4].uniforms.diffuse[1], 1.0f);
  EXPECT_EQ(draws[4].first, 6u);
  quad(2);
  EXPECT_EQ(drawsSoFar().back().uniforms.diffuse[1], 1.0f);
}

// What the back-end does not do ends the program with a message, never a wrong picture.
TEST(FixedFunctionDeathTest, UnsupportedCallsEndTheProgram) {
  const GLfloat position[4] = {0, 0, 1, 1};
  EXPECT_DEATH(glBegin(GL_LINES), "GL back-end: glBegin: a primitive other than");
  EXPECT_DEATH(glLightfv(GL_LIGHT1, GL_POSITION, position), "a light other than GL_LIGHT0");
  EXPECT_DEATH(glShadeModel(GL_FLAT), "GL_SMOOTH");
}
