// Scene tests: the game's calls read back into world-space tiles and spheres, and checked for what
// a player would see: heights, colours, orb layouts, round spheres facing outward, lists built
// once.
#include <gtest/gtest.h>

#include <GL/glut.h>
#include <cmath>
#include <map>

#include "app/frame.h"
#include "game/state.h"
#include "gl_double.h"
#include "play.h"
#include "render/sphere.h"

int runFizzgridMain(int argc, char **argv);

namespace {

using Vec = std::array<double, 4>; // a point (w unused) or an RGBA colour
struct Shape {                     // a tile (a box of six faces) or a sphere
  Vec low, high, colour;           // a sphere's low corner is its centre, its radius high[0]
  int facets;
};
double dot(Vec u, const Vec &v, const Vec &c) { // (u - c) . (v - c) over x, y, z
  return (u[0] - c[0]) * (v[0] - c[0]) + (u[1] - c[1]) * (v[1] - c[1]) +
         (u[2] - c[2]) * (v[2] - c[2]);
}
std::map<double, std::vector<GlCall>> lists; // display lists as compiled, kept across frames

// Follows one frame's calls as GL would: the material in force, each sphere's translate and
// scale and their undoing, display lists compiled and replayed. Fails on a face turned inward,
// a sphere that is not round, or a placement left on the matrix.
struct Frame {
  std::vector<Shape> tiles, spheres;
  std::vector<std::vector<Vec>> faces; // of the tile or sphere facet being drawn: normal, corners
  Vec diffuse{}, specular{}, move{};
  double scale = 1, compiling = 0, inSphere = 0;
  int listsAsked = 0, listsCompiled = 0;

  void endFacet(std::vector<Vec> &f, const Vec &centre, double radius) {
    Vec mid{};
    for (size_t i = 1; i < f.size(); i++)
      for (int k = 0; k < 3; k++)
        mid[k] += f[i][k] / (f.size() - 1);
    for (size_t i = 1; i < f.size() && radius; i++)
      EXPECT_NEAR(std::sqrt(dot(f[i], f[i], centre)), radius, 1e-4) << "a sphere is round";
    EXPECT_GT(dot(f[0], mid, Vec{}) - dot(f[0], centre, Vec{}), 0) << "a facet faces inward";
  }
  void run(const GlCall &c) {
    const double *a = c.a;
    std::string_view n = c.name;
    Vec at = {move[0] + scale * a[0], move[1] + scale * a[1], move[2] + scale * a[2]};
    if (compiling && n != "glEndList") lists[compiling].push_back(c);
    if (n == "glMaterialfv") (a[1] == GL_DIFFUSE ? diffuse : specular) = {a[2], a[3], a[4], a[5]};
    if (n == "glTranslatef" && !inSphere) spheres.push_back({at, {}, specular, 0});
    if (n == "glTranslatef") inSphere = !inSphere, move = at;
    if (n == "glScalef" && inSphere && !spheres.back().high[0])
      spheres.back().high[0] = scale * a[0];
    scale *= n == "glScalef" ? a[0] : 1;
    if (n == "glBegin") faces.push_back({{}}), inSphere ? spheres.back().facets++ : 0;
    if (n == "glNormal3f") faces.back()[0] = {a[0], a[1], a[2]};
    if (n == "glVertex3f") faces.back().push_back(at);
    if (n == "glEnd" && inSphere)
      endFacet(faces.back(), spheres.back().low, spheres.back().high[0]), faces.pop_back();
    if (n == "glEnd" && faces.size() == 6) endTile();
    listsAsked += n == "glGenLists", listsCompiled += n == "glNewList" || n == "glEndList";
    EXPECT_TRUE(n != "glNewList" || a[1] == GL_COMPILE_AND_EXECUTE) << "a new list is also drawn";
    compiling = n == "glNewList" ? (lists[a[0]].clear(), a[0]) : n == "glEndList" ? 0 : compiling;
    for (const GlCall &listed : std::vector<GlCall>(n == "glCallList" ? lists.at(a[0]) : lists[-1]))
      run(listed);
  }
  void endTile() {
    Shape t = {faces[0][1], faces[0][1], diffuse, 6};
    for (auto &face : faces)
      for (size_t i = 1; i < face.size(); i++)
        for (int k = 0; k < 3; k++)
          t.low[k] = std::min(t.low[k], face[i][k]), t.high[k] = std::max(t.high[k], face[i][k]);
    Vec centre = {(t.low[0] + t.high[0]) / 2, (t.low[1] + t.high[1]) / 2,
                  (t.low[2] + t.high[2]) / 2};
    for (auto &face : faces)
      endFacet(face, centre, 0);
    tiles.push_back(t), faces.clear();
  }
};

Frame draw() {
  gl::reset();
  display();
  Frame f;
  for (const GlCall &c : gl::calls)
    f.run(c);
  EXPECT_TRUE(f.faces.empty()) << "each tile is a box of six faces";
  EXPECT_NEAR(f.scale + std::abs(f.move[0]) + std::abs(f.move[1]) + std::abs(f.move[2]), 1, 1e-5)
      << "a sphere left the matrix moved";
  return f;
}

const double *find(std::string_view name) {
  for (const GlCall &c : gl::calls)
    if (c.name == name) return c.a;
  throw std::runtime_error(std::string(name) + " was not called");
}

const Vec plain = {0.8f, 0.8f, 0.8f, 1}, loaded = {0.8f, 1, 0.8f, 1}, red = {1, 0.6f, 0.6f, 1};
const Vec blue = {0.6f, 0.6f, 1, 1}, redShine = {5, 0, 0, 1}, blueShine = {0, 0, 5, 1};

// Tile (x, y) spans 11 x 11 on a pitch of 13 from -51, one deep below its top at height h.
void expectTile(const Frame &f, int x, int y, int h, const Vec &colour) {
  const Shape &t = f.tiles.at(8 * x + y);
  Vec low = {13.0 * x - 51, 13.0 * y - 51, h - 1.0, 0};
  EXPECT_TRUE(t.low == low && t.high == Vec({low[0] + 11, low[1] + 11, h * 1.0, 0}) &&
              t.colour == colour)
      << "tile " << x << "," << y;
}

TEST(Scene, MainSetsUpTheWindowAndItsFirstFrameShowsTheStartingBoard) {
  char name[] = "fizzgrid", *argv[] = {name, nullptr};
  gl::reset();
  runFizzgridMain(1, argv);
  EXPECT_EQ(find("glutInitDisplayMode")[0], GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  std::vector<double> enabled;
  for (const GlCall &c : gl::calls)
    c.name == "glEnable" ? enabled.push_back(c.a[0]) : void();
  EXPECT_EQ(enabled, std::vector<double>({GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_NORMALIZE}));
  EXPECT_EQ(gl::frames, 0) << "main draws nothing before the loop";
  Frame f = draw();
  const double *eye = find("gluLookAt"), *light = find("glLightfv");
  EXPECT_LT(eye, light) << "the light is placed in world space, after the camera";
  EXPECT_EQ(std::vector<double>(light + 2, light + 6), std::vector<double>({0, 0, 55, 1}))
      << "at the eye";
  EXPECT_NEAR(std::abs(eye[3] - eye[0]) + eye[5] - eye[2] + std::abs(eye[7] - 1), -1, 1e-3)
      << "looking down -z";
  ASSERT_EQ(f.tiles.size() * 100 + f.spheres.size(), 6400u);
  for (int x = 0; x < 8; x++)
    for (int y = 0; y < 8; y++) // empty tiles sink 3 per missing orb: corner -6, edge -9, inner -12
      expectTile(f, x, y, -3 * ((x > 0) + (x < 7) + (y > 0) + (y < 7)),
                 x == 4 && y == 4 ? red : plain);
}

TEST(Scene, TilesOrbsAndBurstSpheresFollowTheCells) {
  struct {
    int x, y, orbs, owner, flag, h;
    Vec tile;
    std::vector<std::pair<double, double>> at; // orb centres from the tile's corner
  } cells[] = {
      {0, 0, 1, 1, 0, -3, loaded, {{5.5, 5.5}}},
      {0, 3, 2, 2, 0, -3, loaded, {{3, 3}, {8, 8}}},
      {2, 5, 7, 1, 1, 9, loaded, {{3, 3}, {8, 8}, {8, 3}, {3, 8}}},
      {3, 3, 3, 1, 0, -3, loaded, {{3, 3}, {8, 3}, {5.5, 8}}},
      {4, 4, 2, 2, 0, -6, blue, {{3, 3}, {8, 8}}}, // the cursor, player 2 to move
  };
  startPlay();
  for (const auto &c : cells)
    orbCount[c.x][c.y] = c.orbs, cellOwner[c.x][c.y] = c.owner, burstFlag[c.x][c.y] = c.flag;
  currentPlayer = 2, burstStep = 4;
  Frame f = draw();
  std::vector<Shape> want;
  for (const auto &c : cells) {
    expectTile(f, c.x, c.y, c.h, c.tile);
    double x0 = 13 * c.x - 51, y0 = 13 * c.y - 51;
    for (auto [dx, dy] : c.at)
      want.push_back({{x0 + dx, y0 + dy, c.h * 1.0}, {2}, c.owner == 1 ? redShine : blueShine, 12});
    if (c.flag)
      want.push_back({{x0 + 5.5, y0 + 5.5, c.h * 1.0}, {4}, blueShine, 420}); // the mover's
  }
  ASSERT_EQ(f.spheres.size(), want.size());
  for (size_t i = 0; i < want.size(); i++) {
    const Shape &s = f.spheres[i], &w = want[i];
    EXPECT_TRUE(s.low == w.low && std::abs(s.high[0] - w.high[0]) < 1e-6 && s.facets == w.facets &&
                s.colour == w.colour)
        << "sphere " << i;
  }
  gamePhase = PHASE_BURST_SHRINK;
  expectTile(draw(), 4, 4, -6, plain); // no cursor during a wave
}

TEST(Scene, TheWinnersSphereAloneFillsTheView) {
  for (int phase : {PHASE_PLAYER1_WON, PHASE_PLAYER2_WON}) {
    startPlay();
    orbCount[0][0] = 1, cellOwner[0][0] = phase - 2, gamePhase = phase;
    Frame f = draw();
    ASSERT_EQ(f.tiles.size() + f.spheres.size(), 1u);
    const Shape &s = f.spheres[0];
    EXPECT_TRUE(s.low == Vec{} && std::abs(s.high[0] - 37) < 1e-5 && s.facets == 19800);
    EXPECT_EQ(s.colour, phase == PHASE_PLAYER1_WON ? redShine : blueShine);
  }
}

TEST(Scene, EachSphereListIsBuiltOnceOrAskedForAgainWhileTheGlHasNone) {
  sphereList3 = sphereList15 = sphereList100 = 0;
  startPlay();
  orbCount[1][1] = 4, cellOwner[1][1] = burstFlag[1][1] = burstStep = 1,
  gamePhase = PHASE_BURST_GROW;
  EXPECT_EQ(draw().listsAsked * 10 + draw().listsAsked, 20) << "orbs and burst spheres, once";
  gamePhase = PHASE_PLAYER1_WON;
  EXPECT_EQ(draw().listsAsked * 10 + draw().listsAsked, 10) << "the winner's sphere, once";
  unsigned next = gl::nextList;
  gl::nextList = 0, sphereList3 = sphereList15 = 0, gamePhase = PHASE_BURST_GROW;
  for (int frame = 0; frame < 2; frame++) { // the mesh drawn directly, and no list 0 compiled
    Frame f = draw();
    EXPECT_EQ(
        std::vector<int>({f.listsAsked, f.listsCompiled, f.spheres[0].facets, f.spheres[4].facets}),
        std::vector<int>({5, 0, 12, 420}));
  }
  gl::nextList = next;
}

} // namespace
