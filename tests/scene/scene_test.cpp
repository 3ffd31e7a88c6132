// Scene tests: the calls the game makes, read back into world-space tiles and spheres and checked
// for what a player would see: the window, the camera and light, heights, colours, orb layouts,
// spheres that are round and face outward, and sphere lists built once.
#include <gtest/gtest.h>

#include <GL/glut.h>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "app/frame.h"
#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"
#include "gl_double.h"
#include "play.h"
#include "render/sphere.h"

int runFizzgridMain(int argc, char **argv);

namespace {

using Vec = std::array<double, 3>;
using Rgba = std::array<float, 4>;

struct Facet {
  Vec normal;
  std::vector<Vec> corners;
  int sphere; // index into Frame::spheres, or -1 for a tile's face
  Rgba diffuse;
};
struct Sphere {
  Vec centre;
  double radius;
  int facets;
  Rgba specular;
};
struct Tile {
  Vec low, high;
  Rgba diffuse;
};
struct Frame {
  std::vector<Facet> facets;
  std::vector<Sphere> spheres;
  std::vector<Tile> tiles;
  Vec move{};       // the placement the frame leaves on the modelview matrix
  double scale = 1; // ... and its scale
  int listsBuilt = 0, callsToNewList = 0;
};

std::map<unsigned, std::vector<GlCall>> lists; // display lists as compiled, kept across frames

// Follows the calls as GL would: materials in force, the translate/scale placement of each
// sphere, and display lists compiled and replayed.
struct Reader {
  Frame frame;
  Rgba diffuse{}, specular{};
  bool inSphere = false; // drawSphere places with one translate and undoes with another
  unsigned compiling = 0;

  Vec place(const double *a) const {
    return {frame.move[0] + frame.scale * a[0], frame.move[1] + frame.scale * a[1],
            frame.move[2] + frame.scale * a[2]};
  }
  void run(const GlCall &c) {
    const double *a = c.a;
    if (compiling && c.name != "glEndList") lists[compiling].push_back(c);
    if (c.name == "glMaterialfv" && a[1] == GL_DIFFUSE)
      diffuse = {(float)a[2], (float)a[3], (float)a[4], (float)a[5]};
    if (c.name == "glMaterialfv" && a[1] == GL_SPECULAR)
      specular = {(float)a[2], (float)a[3], (float)a[4], (float)a[5]};
    if (c.name == "glTranslatef") {
      if (!inSphere) frame.spheres.push_back({place(a), 0, 0, specular});
      inSphere = !inSphere;
      frame.move = place(a);
    }
    if (c.name == "glScalef") frame.scale *= a[0];
    if (c.name == "glScalef" && inSphere && frame.spheres.back().radius == 0)
      frame.spheres.back().radius = frame.scale;
    if (c.name == "glBegin") {
      frame.facets.push_back({{}, {}, inSphere ? (int)frame.spheres.size() - 1 : -1, diffuse});
      if (inSphere) frame.spheres.back().facets++;
    }
    if (c.name == "glNormal3f") frame.facets.back().normal = {a[0], a[1], a[2]};
    if (c.name == "glVertex3f") frame.facets.back().corners.push_back(place(a));
    if (c.name == "glGenLists") frame.listsBuilt++;
    if (c.name == "glNewList") {
      EXPECT_EQ(a[1], GL_COMPILE_AND_EXECUTE) << "the frame that builds a list must show it";
      compiling = a[0], lists[compiling].clear(), frame.callsToNewList++;
    }
    if (c.name == "glEndList") compiling = 0;
    if (c.name == "glCallList") {
      ASSERT_TRUE(lists.count(a[0])) << "list " << a[0] << " was never built";
      for (const GlCall &listed : std::vector<GlCall>(lists[a[0]]))
        run(listed);
    }
  }
};

double dot(const Vec &u, const Vec &v) { return u[0] * v[0] + u[1] * v[1] + u[2] * v[2]; }
Vec minus(const Vec &u, const Vec &v) { return {u[0] - v[0], u[1] - v[1], u[2] - v[2]}; }

// What no frame may show: a face turned inward, a sphere that is not round, a matrix left moved.
void checkShapes(const Frame &f) {
  for (size_t i = 0, tile = 0; i < f.facets.size(); i++) {
    const Facet &facet = f.facets[i];
    Vec mid{}, centre;
    for (const Vec &v : facet.corners)
      for (int k = 0; k < 3; k++)
        mid[k] += v[k] / facet.corners.size();
    if (facet.sphere < 0) {
      const Tile &t = f.tiles[tile++ / 6];
      centre = {(t.low[0] + t.high[0]) / 2, (t.low[1] + t.high[1]) / 2, (t.low[2] + t.high[2]) / 2};
    } else {
      const Sphere &s = f.spheres[facet.sphere];
      centre = s.centre;
      for (const Vec &v : facet.corners)
        ASSERT_NEAR(std::sqrt(dot(minus(v, centre), minus(v, centre))), s.radius, 1e-4 * s.radius);
    }
    ASSERT_GT(dot(facet.normal, minus(mid, centre)), 0) << "facet " << i << " faces inward";
  }
  EXPECT_NEAR(f.scale, 1, 1e-5);
  EXPECT_NEAR(dot(f.move, f.move), 0, 1e-6) << "a sphere left the modelview matrix moved";
}

Frame read() {
  Reader r;
  for (const GlCall &c : gl::calls)
    r.run(c);
  Frame &f = r.frame;
  std::vector<Facet> faces;
  for (const Facet &facet : f.facets)
    if (facet.sphere < 0) faces.push_back(facet);
  EXPECT_EQ(faces.size() % 6, 0u) << "every tile is a box of six faces";
  for (size_t i = 0; i + 6 <= faces.size(); i += 6) {
    Tile t{{1e9, 1e9, 1e9}, {-1e9, -1e9, -1e9}, faces[i].diffuse};
    for (size_t k = i; k < i + 6; k++)
      for (const Vec &v : faces[k].corners)
        for (int d = 0; d < 3; d++)
          t.low[d] = std::min(t.low[d], v[d]), t.high[d] = std::max(t.high[d], v[d]);
    f.tiles.push_back(t);
  }
  checkShapes(f);
  return f;
}

Frame draw() {
  gl::reset();
  display();
  return read();
}

const GlCall *find(std::string_view name) {
  for (const GlCall &c : gl::calls)
    if (c.name == name) return &c;
  return nullptr;
}

const Rgba plain = {0.8f, 0.8f, 0.8f, 1}, loaded = {0.8f, 1, 0.8f, 1};
const Rgba red = {1, 0.6f, 0.6f, 1}, blue = {0.6f, 0.6f, 1, 1};
const Rgba redShine = {5, 0, 0, 1}, blueShine = {0, 0, 5, 1};

// Tile (x, y) spans 11 x 11 on a pitch of 13 from -51, its top at height h.
void expectTile(const Frame &f, int x, int y, int h, const Rgba &diffuse) {
  const Tile &t = f.tiles.at(8 * x + y);
  Vec low = {13.0 * x - 51, 13.0 * y - 51, h - 1.0}, high = {low[0] + 11, low[1] + 11, h * 1.0};
  EXPECT_EQ(t.low, low) << "tile " << x << "," << y;
  EXPECT_EQ(t.high, high) << "tile " << x << "," << y;
  EXPECT_EQ(t.diffuse, diffuse) << "tile " << x << "," << y;
}

TEST(Scene, MainOpensTheWindowAndItsFirstFrameShowsTheStartingBoard) {
  char name[] = "fizzgrid", *argv[] = {name, nullptr};
  gl::reset();
  runFizzgridMain(1, argv);
  EXPECT_EQ(find("glutInitDisplayMode")->a[0], GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  EXPECT_EQ(std::vector<double>(find("glutInitWindowSize")->a, find("glutInitWindowSize")->a + 2),
            std::vector<double>({600, 600}));
  EXPECT_EQ(find("glutInitWindowPosition")->a[0] + find("glutInitWindowPosition")->a[1], 0);
  EXPECT_STREQ(gl::title, "Fizzgrid -- Quillon Final Project");
  std::set<double> enabled;
  for (const GlCall &c : gl::calls)
    if (c.name == "glEnable") enabled.insert(c.a[0]);
  EXPECT_EQ(enabled, std::set<double>({GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_NORMALIZE}));
  const double *clear = find("glClearColor")->a;
  EXPECT_EQ(clear[0] + clear[1] + clear[2], 0) << "a black background";
  EXPECT_TRUE(gl::display == display && gl::reshape == reshape && gl::keyboard == keyboard &&
              gl::special == special && gl::idle == idle);
  EXPECT_EQ(gl::calls.back().name, "glutMainLoop");
  EXPECT_EQ(gl::frames, 0) << "main draws nothing before the loop";

  Frame f = draw();
  const double *eye = find("gluLookAt")->a;
  EXPECT_EQ(Vec({eye[0], eye[1], eye[2]}), Vec({0, 0, 55}));
  EXPECT_NEAR(eye[5] - eye[2], -1, 1e-3) << "the camera at rest looks down -z";
  EXPECT_NEAR(eye[3] - eye[0], 0, 1e-3);
  EXPECT_EQ(eye[7], 1) << "with y up";
  const GlCall *light = find("glLightfv");
  EXPECT_GT(light, find("gluLookAt")) << "the light is placed in world space, after the camera";
  EXPECT_EQ(std::vector<double>(light->a + 2, light->a + 6), std::vector<double>({0, 0, 55, 1}));
  EXPECT_EQ(gl::frames, 1);
  ASSERT_EQ(f.tiles.size(), 64u);
  EXPECT_TRUE(f.spheres.empty());
  for (int x = 0; x < 8; x++)
    for (int y = 0; y < 8; y++) // empty: corner -6, edge -9, inner -12; 3 higher per orb
      expectTile(f, x, y, -3 * ((x > 0) + (x < 7) + (y > 0) + (y < 7)),
                 x == 4 && y == 4 ? red : plain);
  currentPlayer = 2;
  expectTile(draw(), 4, 4, -12, blue);
}

TEST(Scene, TilesOrbsAndBurstSpheresFollowTheCells) {
  struct Cell {
    int x, y, orbs, owner, flag, h;
    Rgba tile;
    std::vector<std::pair<double, double>> at; // orb centres from the tile's corner
  } cells[] = {
      {0, 0, 1, 1, 0, -3, loaded, {{5.5, 5.5}}}, // under the cursor, but no cursor in a wave
      {0, 3, 2, 2, 0, -3, loaded, {{3, 3}, {8, 8}}},
      {2, 5, 7, 1, 1, 9, loaded, {{3, 3}, {8, 8}, {8, 3}, {3, 8}}},
      {3, 3, 3, 1, 0, -3, loaded, {{3, 3}, {8, 3}, {5.5, 8}}},
      {5, 5, 2, 2, 0, -6, plain, {{3, 3}, {8, 8}}},
  };
  startPlay();
  for (const Cell &c : cells)
    orbCount[c.x][c.y] = c.orbs, cellOwner[c.x][c.y] = c.owner, burstFlag[c.x][c.y] = c.flag;
  gamePhase = PHASE_BURST_SHRINK, currentPlayer = 2, burstStep = 4, cursorX = cursorY = 0;
  Frame f = draw();
  ASSERT_EQ(f.tiles.size(), 64u);
  std::vector<Sphere> want;
  for (const Cell &c : cells) {
    expectTile(f, c.x, c.y, c.h, c.tile);
    double x0 = 13 * c.x - 51, y0 = 13 * c.y - 51;
    for (auto [dx, dy] : c.at)
      want.push_back({{x0 + dx, y0 + dy, c.h * 1.0}, 2, 12, c.owner == 1 ? redShine : blueShine});
    if (c.flag) want.push_back({{x0 + 5.5, y0 + 5.5, c.h * 1.0}, 4, 420, blueShine}); // the mover's
  }
  ASSERT_EQ(f.spheres.size(), want.size());
  for (size_t i = 0; i < want.size(); i++) {
    EXPECT_EQ(f.spheres[i].centre, want[i].centre) << "sphere " << i;
    EXPECT_NEAR(f.spheres[i].radius, want[i].radius, 1e-6) << "sphere " << i;
    EXPECT_EQ(f.spheres[i].facets, want[i].facets) << "sphere " << i;
    EXPECT_EQ(f.spheres[i].specular, want[i].specular) << "sphere " << i;
  }
}

TEST(Scene, TheWinnersSphereAloneFillsTheView) {
  for (int phase : {PHASE_PLAYER1_WON, PHASE_PLAYER2_WON}) {
    startPlay();
    orbCount[0][0] = 1, cellOwner[0][0] = phase - 2, gamePhase = phase;
    Frame f = draw();
    EXPECT_TRUE(f.tiles.empty());
    ASSERT_EQ(f.spheres.size(), 1u);
    EXPECT_EQ(f.spheres[0].centre, Vec({0, 0, 0}));
    EXPECT_NEAR(f.spheres[0].radius, 37, 1e-5);
    EXPECT_EQ(f.spheres[0].facets, 19800);
    EXPECT_EQ(f.spheres[0].specular, phase == PHASE_PLAYER1_WON ? redShine : blueShine);
  }
}

TEST(Scene, EachSphereListIsBuiltOnceAndAskedForAgainWhileTheGlHasNone) {
  sphereList3 = sphereList15 = sphereList100 = 0;
  startPlay();
  orbCount[1][1] = 4, cellOwner[1][1] = 1, burstFlag[1][1] = 1;
  gamePhase = PHASE_BURST_GROW, burstStep = 1;
  EXPECT_EQ(draw().listsBuilt, 2) << "orbs and burst spheres";
  Frame again = draw();
  EXPECT_EQ(again.listsBuilt, 0);
  EXPECT_EQ(again.spheres.size(), 5u);
  gamePhase = PHASE_PLAYER1_WON;
  EXPECT_EQ(draw().listsBuilt + draw().listsBuilt, 1) << "the winner's sphere";
  // Out of lists: each frame draws the mesh itself and asks again next time.
  unsigned next = gl::nextList;
  gl::nextList = 0, sphereList3 = sphereList15 = 0, gamePhase = PHASE_BURST_GROW;
  for (int frame = 0; frame < 2; frame++) {
    Frame f = draw();
    EXPECT_EQ(f.listsBuilt, 5) << "every sphere asks";
    EXPECT_EQ(f.callsToNewList + (find("glEndList") != nullptr), 0) << "no list 0 is compiled";
    ASSERT_EQ(f.spheres.size(), 5u);
    EXPECT_EQ(f.spheres[0].facets + f.spheres[4].facets, 12 + 420);
  }
  gl::nextList = next;
}

TEST(Scene, ReshapeKeepsTheSquareFrustumOverTheWholeWindow) {
  gl::reset();
  reshape(800, 400);
  EXPECT_EQ(std::vector<double>(find("glViewport")->a, find("glViewport")->a + 4),
            std::vector<double>({0, 0, 800, 400}));
  EXPECT_EQ(std::vector<double>(find("glFrustum")->a, find("glFrustum")->a + 6),
            std::vector<double>({-1, 1, -1, 1, 1, 500}));
  EXPECT_EQ(gl::calls.back().a[0], GL_MODELVIEW) << "frames draw on the modelview matrix";
}

} // namespace
