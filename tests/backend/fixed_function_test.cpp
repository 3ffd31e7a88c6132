// The browser's GL back-end (web/fixed_function.cpp) on what the page's pictures cannot show: the
// uniforms and meshes it gives the GPU, read here as plain data (the shader itself runs only in
// the browser, where the web layer compares its pictures).
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <vector>

#include "webgl.h"

using fixedgl::Draw;

// What reached the GPU: webgl.cpp's hand-off, here keeping the draws instead of drawing them. A
// test calls it to read every draw so far.
static std::vector<Draw> handed;
void fixedgl::drawPending(void) {
  handed.insert(handed.end(), pendingDraws().begin(), pendingDraws().end());
  clearPending();
}

static void startFrame(void) {
  for (GLenum capability : {GL_LIGHTING, GL_LIGHT0, GL_NORMALIZE})
    fixedgl::enableFixedFunction(capability);
  fixedgl::drawPending();
  handed.clear();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

// A column-major matrix, its columns `stride` floats apart, times a vector.
static std::vector<float> times(const float *m, int stride, std::vector<float> v) {
  std::vector<float> out(v.size(), 0.0f);
  for (size_t row = 0; row < v.size(); row++)
    for (size_t column = 0; column < v.size(); column++)
      out[row] += m[column * stride + row] * v[column];
  return out;
}

static void expectNear(const std::vector<float> &got, const std::vector<float> &want) {
  for (size_t k = 0; k < want.size(); k++)
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
// frustum, then glTranslatef(1, 2, 3) and glScalef(2, 4, 8). Worked by hand: the object point
// (1, 0.5, 0.25), world (3, 4, 5), is (5, 4, -3) to the eye and (5, 4, 503 / 499, 3) in clip
// space; the normal (0, 1, 1) goes through the inverse transpose to R (0, 1/4, 1/8) = (1/8, 1/4,
// 0), where the modelview itself would give (8, 4, 0); the light given at world (1, 2, 10) before
// the translation stands at (10, 2, -1) to the eye, fixed there when given.
TEST(FixedFunction, MatricesAndLightAsTheShaderGetsThem) {
  startFrame();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-1, 1, -1, 1, 1, 500);
  glMatrixMode(GL_MODELVIEW);
  gluLookAt(0, 0, 0, 1, 0, 0, 0, 1, 0);
  const GLfloat light[4] = {1, 2, 10, 1};
  glLightfv(GL_LIGHT0, GL_POSITION, light);
  glTranslatef(1, 2, 3);
  glScalef(2, 4, 8);
  quad(0);
  fixedgl::drawPending();
  ASSERT_EQ(handed.size(), 1u);
  const fixedgl::Uniforms &u = handed[0].uniforms;
  expectNear(times(u.modelviewProjection, 4, {1, 0.5f, 0.25f, 1}), {5, 4, 503.0f / 499, 3});
  expectNear(times(u.modelview, 4, {1, 0.5f, 0.25f, 1}), {5, 4, -3, 1});
  expectNear(times(u.normalMatrix, 4, {0, 1, 1}), {0.125f, 0.25f, 0});
  expectNear({u.lightPosition, u.lightPosition + 4}, {10, 2, -1, 1});
  float modelview[16], projection[16]; // as the page's taps read them
  fixedgl::currentMatrices(modelview, projection);
  expectNear(times(projection, 4, {5, 4, -3, 1}), {5, 4, 503.0f / 499, 3});
}

// Quads split along the diagonal from their first corner, as Mesa splits them, in immediate mode
// and in lists alike: the other diagonal shades the inside otherwise, within the pictures' rule.
TEST(FixedFunction, QuadsSplitFromTheirFirstCorner) {
  startFrame();
  GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  quad(0);
  glEndList();
  quad(0);
  const float x[4] = {0, 1, 1, 0}, y[4] = {0, 0, 1, 1};
  for (GLuint number : {0u, list}) {
    const fixedgl::Mesh &mesh = fixedgl::mesh(number);
    ASSERT_EQ(mesh.indices.size(), 6u) << "mesh " << number;
    const int corner[6] = {0, 1, 2, 0, 2, 3};
    for (int k = 0; k < 6; k++) {
      const fixedgl::Vertex &v = mesh.vertices[mesh.indices[k]];
      EXPECT_EQ(v.position[0], x[corner[k]]) << "mesh " << number << ", index " << k;
      EXPECT_EQ(v.position[1], y[corner[k]]) << "mesh " << number << ", index " << k;
    }
  }
}

// As the game records its sphere lists: GL_COMPILE_AND_EXECUTE in the middle of a frame, under a
// translation. The list is drawn then, once, and at each call under the matrices of that call. A
// list recorded again keeps its number and holds only its new primitives, under a new version.
TEST(FixedFunction, ListsDrawnWhenRecordedAndAtEachCall) {
  startFrame();
  glTranslatef(5, 0, 0);
  GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE_AND_EXECUTE);
  quad(0);
  glEndList();
  glTranslatef(5, 0, 0);
  glCallList(list);
  fixedgl::drawPending();
  ASSERT_EQ(handed.size(), 2u) << "once when recorded, once at the call";
  for (int k = 0; k < 2; k++) {
    EXPECT_EQ(handed[k].mesh, list);
    EXPECT_EQ(handed[k].count, 6u);
    EXPECT_EQ(handed[k].uniforms.modelview[12], 5.0f * (k + 1));
  }

  unsigned long version = fixedgl::mesh(list).version;
  glNewList(list, GL_COMPILE);
  glBegin(GL_TRIANGLES);
  glNormal3f(0, 0, 1);
  for (float x : {0, 1, 2})
    glVertex3f(x, 0, 7);
  glEnd();
  glEndList();
  fixedgl::drawPending();
  EXPECT_EQ(handed.size(), 2u) << "GL_COMPILE draws nothing";
  const fixedgl::Mesh &mesh = fixedgl::mesh(list);
  EXPECT_NE(mesh.version, version);
  ASSERT_EQ(mesh.indices.size(), 3u);
  for (GLuint index : mesh.indices)
    EXPECT_EQ(mesh.vertices[index].position[2], 7.0f);
}

// What the back-end does not do ends the program with a message, never a wrong picture.
TEST(FixedFunctionDeathTest, UnsupportedCallsEndTheProgram) {
  const GLfloat v[4] = {0, 0, 1, 1};
  EXPECT_DEATH(glBegin(GL_LINES), "GL back-end: glBegin: a primitive other than");
  EXPECT_DEATH(glLightfv(GL_LIGHT1, GL_POSITION, v), "but light 0's position");
  EXPECT_DEATH(glLightfv(GL_LIGHT0, GL_SPECULAR, v), "but light 0's position");
  EXPECT_DEATH(glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, v), "ambient, diffuse and specular");
  EXPECT_DEATH(glMaterialfv(GL_FRONT, GL_DIFFUSE, v), "GL_FRONT_AND_BACK's ambient");
  EXPECT_DEATH(glShadeModel(GL_FLAT), "GL_SMOOTH");
  EXPECT_DEATH((glNewList(9, GL_COMPILE), glTranslatef(1, 0, 0)), "inside a display list");
  EXPECT_DEATH((glNewList(9, GL_COMPILE), glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, v)),
               "inside a display list");
  EXPECT_DEATH((glNewList(9, GL_COMPILE), glBegin(GL_TRIANGLES), glVertex3f(0, 0, 0)),
               "before its first glNormal3f");
}
