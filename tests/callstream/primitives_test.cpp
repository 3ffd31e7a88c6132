// Faceted primitives: the normal and corner order of each facet, one glBegin/glEnd pair apiece.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "render/primitives.h"
#include "stream.h"

// The calls of one facet: its mode, normal and corners in order.
static std::vector<Want> facet(GLenum mode, Vec3 normal, std::vector<Vec3> corners) {
  std::vector<Want> calls = {{"glBegin", {(double)mode}},
                             {"glNormal3f", {normal[0], normal[1], normal[2]}}};
  for (const Vec3 &p : corners)
    calls.push_back({"glVertex3f", {p[0], p[1], p[2]}});
  calls.push_back({"glEnd", {}});
  return calls;
}

TEST(Primitives, TrianglesFaceTheClockwiseSideQuadsTheCounterClockwiseOne) {
  glrec::reset();
  drawTriangle(0, 0, 0, 1, 0, 0, 1, 1, 0);
  drawTriangle(0, 0, 0, 2, 0, 0, 0, 3, 0);
  drawTriangle(0, 0, 0, 1, 1, 1, 2, 2, 2); // collinear: zero normal, still drawn
  drawQuad(0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0);
  drawQuad(0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 5); // the fourth corner plays no part
  std::vector<Want> want;
  for (const auto &part : {
           facet(GL_TRIANGLES, {0, 0, -1}, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}),
           facet(GL_TRIANGLES, {0, 0, -6}, {{0, 0, 0}, {2, 0, 0}, {0, 3, 0}}),
           facet(GL_TRIANGLES, {0, 0, 0}, {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}),
           facet(GL_QUADS, {0, 0, 1}, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}),
           facet(GL_QUADS, {0, 0, 1}, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 5}}),
       })
    want.insert(want.end(), part.begin(), part.end());
  expectStream(glrec::log, want);
  EXPECT_EQ(faceNormalX(0, 0, 0, 2, 0, 0, 0, 3, 0), 0.0);
  EXPECT_EQ(faceNormalY(0, 0, 0, 2, 0, 0, 0, 3, 0), 0.0);
  EXPECT_EQ(faceNormalZ(0, 0, 0, 2, 0, 0, 0, 3, 0), -6.0);
  EXPECT_EQ(faceNormalX(0, 0, 0, 0, 1, 0, 0, 1, 1), -1.0);
  EXPECT_EQ(faceNormalY(0, 0, 0, 0, 0, 1, 1, 0, 1), -1.0);
}

TEST(Primitives, BoxOfTileShapeSendsSixOutwardQuadsCornerByCorner) {
  glrec::reset();
  drawBox(1, 2, 3, 11, 11, -1); // from (1, 2, 2) to (12, 13, 3)
  std::vector<Want> want;
  for (const auto &part : {
           facet(GL_QUADS, {0, 0, 121}, {{1, 2, 3}, {12, 2, 3}, {12, 13, 3}, {1, 13, 3}}),
           facet(GL_QUADS, {0, -11, 0}, {{1, 2, 2}, {12, 2, 2}, {12, 2, 3}, {1, 2, 3}}),
           facet(GL_QUADS, {-11, 0, 0}, {{1, 2, 3}, {1, 13, 3}, {1, 13, 2}, {1, 2, 2}}),
           facet(GL_QUADS, {0, 0, -121}, {{12, 2, 2}, {1, 2, 2}, {1, 13, 2}, {12, 13, 2}}),
           facet(GL_QUADS, {0, 11, 0}, {{12, 13, 2}, {1, 13, 2}, {1, 13, 3}, {12, 13, 3}}),
           facet(GL_QUADS, {11, 0, 0}, {{12, 13, 3}, {12, 2, 3}, {12, 2, 2}, {12, 13, 2}}),
       })
    want.insert(want.end(), part.begin(), part.end());
  expectStream(glrec::log, want);
}

TEST(Primitives, BoxWithAllExtentsPositiveTurnsItsNormalsInward) {
  glrec::reset();
  drawBox(0, 0, 0, 11, 11, 1);
  std::vector<Vec3> normals;
  for (const Facet &f : facetsOf(glrec::log))
    normals.push_back(f.normal);
  EXPECT_EQ(normals,
            (std::vector<Vec3>{
                {0, 0, 121}, {0, 11, 0}, {11, 0, 0}, {0, 0, -121}, {0, -11, 0}, {-11, 0, 0}}));
}
