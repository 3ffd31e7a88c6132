// Sphere mesh and cache: facets, outward normals, point precision, placement and display lists.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "render/sphere.h"
#include "stream.h"

static std::vector<Facet> meshFacets(float cx, float cy, float cz, float r, int n) {
  glrec::reset();
  drawSphereMesh(cx, cy, cz, r, n);
  return facetsOf(glrec::log);
}

TEST(SphereMesh, HasFourNTrianglesAndTwoNTimesNMinusThreeQuadsAllFacingOut) {
  const struct {
    int n, triangles, quads;
  } cases[] = {{3, 12, 0}, {4, 16, 8}, {5, 20, 20}, {15, 60, 360}, {100, 400, 19400}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.n);
    std::vector<Facet> facets = meshFacets(1, 2, 3, 2, c.n);
    int triangles = 0, quads = 0, inward = 0;
    for (const Facet &f : facets) {
      triangles += f.mode == GL_TRIANGLES && f.corners.size() == 3;
      quads += f.mode == GL_QUADS && f.corners.size() == 4;
      Vec3 out = {-1, -2, -3}; // from the centre (1, 2, 3) to the facet's centroid
      for (const Vec3 &p : f.corners)
        for (int k = 0; k < 3; k++)
          out[k] += p[k] / f.corners.size();
      inward += f.normal[0] * out[0] + f.normal[1] * out[1] + f.normal[2] * out[2] <= 0;
    }
    EXPECT_EQ(triangles, c.triangles);
    EXPECT_EQ(quads, c.quads);
    EXPECT_EQ(glrec::count("glBegin"), c.triangles + c.quads);
    EXPECT_EQ(glrec::count("glEnd"), c.triangles + c.quads);
    EXPECT_EQ(inward, 0);
  }
}

TEST(SphereMesh, RunsCapBandsCapFromTopToBottom) {
  std::vector<Facet> facets = meshFacets(0, 0, 0, 1, 4);
  ASSERT_EQ(facets.size(), 24u);
  for (int k = 0; k < 24; k++)
    EXPECT_EQ(facets[k].mode, k / 8 == 1 ? (unsigned)GL_QUADS : (unsigned)GL_TRIANGLES) << k;
  for (int n : {2, 1, 0, -1})
    EXPECT_TRUE(meshFacets(0, 0, 0, 1, n).empty()) << n;
}

// The top cap of the unit sphere at n = 3: triangle j runs from R(1, j + 1) over R(1, j) to the
// pole. Boundary j lies at the float of j * 6.28318 / 6; the last is 6.2831802, not 2 pi.
TEST(SphereMesh, PointsCarryTheNarrowedAnglesAndTheShortTurn) {
  std::vector<Facet> facets = meshFacets(0, 0, 0, 1, 3);
  ASSERT_EQ(facets.size(), 12u);
  const Vec3 next[6] = {
      {0.866024971f, 0, 0.500000775f},  {0.866026342f, 0, -0.499998391f}, {2.53518169e-06f, 0, -1},
      {-0.86602354f, 0, -0.500003219f}, {-0.866027594f, 0, 0.499996215f}, {-5.07036339e-06f, 0, 1},
  };
  for (int j = 0; j < 6; j++) {
    EXPECT_EQ(facets[j].corners[0], next[j]) << j;
    EXPECT_EQ(facets[j].corners[1], (j == 0 ? Vec3{0, 0, 1} : next[j - 1])) << j;
    EXPECT_EQ(facets[j].corners[2], (Vec3{0, 1, 0})) << j;
    EXPECT_EQ(facets[6 + j].corners[0], (Vec3{0, -1, 0})) << j; // bottom cap from its pole
  }
}

TEST(SphereMesh, RingsOfFiveLevelsLieAtEqualHeights) {
  std::vector<Facet> facets = meshFacets(0, 0, 0, 1, 5);
  ASSERT_EQ(facets.size(), 40u);
  // Segment 0 of each slab starts at angle 0, where a ring point is (0, y, radius).
  EXPECT_EQ(facets[0].corners[1], (Vec3{0, 0.5, 0.8660254f}));
  EXPECT_EQ(facets[10].corners[0], (Vec3{0, 0.5, 0.8660254f}));
  EXPECT_EQ(facets[10].corners[1], (Vec3{0, 0, 1}));
  EXPECT_EQ(facets[20].corners[1], (Vec3{0, -0.5, 0.8660254f}));
  EXPECT_EQ(facets[30].corners[1], (Vec3{0, -0.5, 0.8660254f}));
  EXPECT_EQ(facets[30].corners[0], (Vec3{0, -1, 0}));
}

TEST(SphereCache, PlacesTheUnitSphereAndUndoesThePlacementInReverse) {
  sphereList3 = 42;
  glrec::reset();
  drawSphere(3, 4, 5, 2, 3);
  expectStream(glrec::log, {{"glTranslatef", {3, 4, 5}},
                            {"glScalef", {2, 2, 2}},
                            {"glCallList", {42}},
                            {"glScalef", {0.5, 0.5, 0.5}},
                            {"glTranslatef", {-3, -4, -5}}});
}

TEST(SphereCache, BuildsEachCachedTessellationOnceAndReplaysIt) {
  const struct {
    int n;
    GLuint *slot;
    size_t facets;
  } cases[] = {{3, &sphereList3, 12}, {15, &sphereList15, 420}, {100, &sphereList100, 19800}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.n);
    meshFacets(0, 0, 0, 1, c.n);
    std::vector<glrec::Call> unitMesh = glrec::log;
    sphereList3 = sphereList15 = sphereList100 = 0;
    glrec::reset();
    drawSphere(1, 1, 1, 1, c.n);
    GLuint id = *c.slot;
    ASSERT_NE(id, 0u);
    EXPECT_EQ(sphereList3 + sphereList15 + sphereList100, id); // the other slots stay 0
    std::vector<glrec::Call> &log = glrec::log;
    ASSERT_EQ(log.size(), unitMesh.size() + 7);
    expectStream({log.begin() + 2, log.begin() + 4},
                 {{"glGenLists", {1}}, {"glNewList", {(double)id, GL_COMPILE_AND_EXECUTE}}});
    std::vector<glrec::Call> body(log.begin() + 4, log.end() - 3);
    EXPECT_EQ(facetsOf(body).size(), c.facets);
    expectStream(body, wantsOf(unitMesh));
    for (const glrec::Call &call : body)
      ASSERT_EQ(call.compiling, id);
    EXPECT_EQ(log[log.size() - 3].name, "glEndList");

    glrec::reset();
    drawSphere(1, 1, 1, 1, c.n);
    expectStream(glrec::log, {{"glTranslatef", {1, 1, 1}},
                              {"glScalef", {1, 1, 1}},
                              {"glCallList", {(double)id}},
                              {"glScalef", {1, 1, 1}},
                              {"glTranslatef", {-1, -1, -1}}});
    EXPECT_EQ(*c.slot, id);
  }
}

TEST(SphereCache, DrawsOtherTessellationsImmediatelyEveryTime) {
  for (int n : {7, 2, 0}) {
    meshFacets(0, 0, 0, 1, n);
    std::vector<Want> once = {{"glTranslatef", {1, 2, 3}}, {"glScalef", {4, 4, 4}}};
    for (const Want &call : wantsOf(glrec::log))
      once.push_back(call);
    once.push_back({"glScalef", {0.25, 0.25, 0.25}});
    once.push_back({"glTranslatef", {-1, -2, -3}});
    std::vector<Want> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    sphereList3 = sphereList15 = sphereList100 = 0;
    glrec::reset();
    drawSphere(1, 2, 3, 4, n);
    drawSphere(1, 2, 3, 4, n);
    SCOPED_TRACE(n);
    EXPECT_EQ(facetsOf(glrec::log).size(), n == 7 ? 168u : 0u);
    expectStream(glrec::log, twice);
    EXPECT_EQ(sphereList3 + sphereList15 + sphereList100, 0u);
  }
}
