// Scene tests: the game's calls read back into world-space tiles and spheres, and checked for what
// a player would see: heights, colours, orb layouts, spheres facing outward, lists built once.
#include <gtest/gtest.h>

#include <GL/glut.h>
#include <map>

#include "app/frame.h"
#include "game/state.h"
#include "support.h"
#include "render/sphere.h"

int runFizzgridMain(int argc, char **argv);

namespace {

using Vec = std::array<double, 4>; // a point (w unused) or an RGBA colour
struct Shape {                     // a tile from low to high, or a sphere: its centre in low and
  Vec low, high, colour;           // its radius in high[0]; a tile's diffuse colour, a sphere's
  int facets;                      // specular
};
std::map<double, std::vector<GlCall>> lists; // display lists as compiled, kept across frames

// Follows one frame's calls as GL would: the material in force, each sphere's translate and scale
// and their undoing, display lists compiled and replayed; tiles are the boxes of six faces drawn
// in place. Fails on a sphere's facet that faces inward.
struct Frame {
  std::vector<Shape> tiles, spheres;
  Vec diffuse{}, specular{}, move{}, normal{};
  double scale = 1, compiling = 0, inSphere = 0;
  int listsAsked = 0, listsCompiled = 0, faces = 0;

  void run(const GlCall &c) {
    const double *a = c.a;
    std::string_view n = c.name;
    Vec at = {move[0] + scale * a[0], move[1] + scale * a[1], move[2] + scale * a[2]}, from{};
    if (compiling && n != "glEndList") lists[compiling].push_back(c);
    if (n == "glMaterialfv") (a[1] == GL_DIFFUSE ? diffuse : specular) = {a[2], a[3], a[4], a[5]};
    if (n == "glTranslatef" && !inSphere) spheres.push_back({at, {}, specular, 0});
    if (n == "glTranslatef") inSphere = !inSphere, move = at;
    if (n == "glScalef" && !spheres.back().high[0]) spheres.back().high[0] = scale * a[0];
    scale *= n == "glScalef" ? a[0] : 1;
    if (n == "glBegin" && !inSphere && faces++ % 6 == 0)
      tiles.push_back({{1e9, 1e9, 1e9}, {-1e9, -1e9, -1e9}, diffuse, 0});
    if (n == "glBegin") (inSphere ? spheres : tiles).back().facets++;
    if (n == "glNormal3f") normal = {a[0], a[1], a[2]};
    for (int k = 0; k < 3 && n == "glVertex3f"; k++) {
      Shape &s = (inSphere ? spheres : tiles).back();
      from[k] = at[k] - s.low[k];
      if (!inSphere) s.low[k] = std::min(s.low[k], at[k]), s.high[k] = std::max(s.high[k], at[k]);
    }
    double out = normal[0] * from[0] + normal[1] * from[1] + normal[2] * from[2];
    EXPECT_TRUE(!inSphere || n != "glVertex3f" || out > 0) << "a sphere's facet faces inward";
    listsAsked += n == "glGenLists", listsCompiled += n == "glNewList" || n == "glEndList";
    compiling = n == "glNewList" ? (lists[a[0]].clear(), a[0]) : n == "glEndList" ? 0 : compiling;
    for (const GlCall &listed : std::vector<GlCall>(n == "glCallList" ? lists.at(a[0]) : lists[-1]))
      run(listed);
  }
};

Frame draw() {
  gl::reset();
  display();
  Frame f;
  for (const GlCall &c : gl::calls)
    f.run(c);
  EXPECT_TRUE(f.faces % 6 == 0 && f.move == Vec{})
      << "a box of six faces a tile, and no sphere leaves the matrix moved";
  return f;
}

const Vec plain = {0.8f, 0.8f, 0.8f, 1}, loaded = {0.8f, 1, 0.8f, 1}, red = {1, 0.6f, 0.6f, 1};
const Vec blue = {0.6f, 0.6f, 1, 1}, redShine = {5, 0, 0, 1}, blueShine = {0, 0, 5, 1};

void expectSphere(const Shape &s, const Vec &centre, double radius, int facets, const Vec &colour) {
  EXPECT_TRUE(s.low == centre && std::abs(s.high[0] - radius) < 1e-5 && s.facets == facets &&
              s.colour == colour)
      << "sphere at " << s.low[0] << "," << s.low[1] << "," << s.low[2] << " of " << s.high[0];
}

TEST(Scene, TheBoardShowsEveryCell) {
  char name[] = "fizzgrid", *argv[] = {name, nullptr};
  runFizzgridMain(1, argv);
  for (const GlCall &c : gl::calls) // double-buffered, with a depth buffer
    EXPECT_TRUE(c.name != "glutInitDisplayMode" || c.a[0] == (GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH));
  struct {
    int x, y, orbs, owner, flag, h;
    Vec tile;
    std::vector<std::pair<double, double>> at; // orb centres from the tile's corner
  } cells[] = {
      // In scan order; the empty cells of the rest of the board stand 3 lower per missing orb.
      {0, 0, 1, 1, 0, -3, loaded, {{5.5, 5.5}}},
      {0, 3, 2, 2, 0, -3, loaded, {{3, 3}, {8, 8}}},
      {0, 7, 0, 0, 0, -6, plain, {}},
      {2, 5, 7, 1, 1, 9, loaded, {{3, 3}, {8, 8}, {8, 3}, {3, 8}}}, // bursting: the mover's colour
      {3, 3, 3, 1, 0, -3, loaded, {{3, 3}, {8, 3}, {5.5, 8}}},
      {4, 4, 2, 2, 0, -6, blue, {{3, 3}, {8, 8}}}, // the cursor, player 2 to move
      {5, 5, 0, 0, 0, -12, plain, {}},
      {7, 3, 0, 0, 0, -9, plain, {}},
  };
  for (const auto &c : cells)
    orbCount[c.x][c.y] = c.orbs, cellOwner[c.x][c.y] = c.owner, burstFlag[c.x][c.y] = c.flag;
  currentPlayer = 2, burstStep = 4;
  Frame f = draw();
  ASSERT_EQ(f.tiles.size(), 64u);
  size_t i = 0;
  for (const auto &c : cells) { // a tile 11 x 11 on a pitch of 13, one deep below its top at h
    double x0 = 13 * c.x - 51, y0 = 13 * c.y - 51, h = c.h;
    const Shape &t = f.tiles[8 * c.x + c.y];
    EXPECT_TRUE(t.low == Vec({x0, y0, h - 1, 0}) && t.high == Vec({x0 + 11, y0 + 11, h, 0}) &&
                t.colour == c.tile)
        << c.x << "," << c.y;
    for (auto [dx, dy] : c.at)
      expectSphere(f.spheres.at(i++), {x0 + dx, y0 + dy, h}, 2, 12,
                   c.owner == 1 ? redShine : blueShine);
    if (c.flag) expectSphere(f.spheres.at(i++), {x0 + 5.5, y0 + 5.5, h}, 4, 420, blueShine);
  }
  EXPECT_EQ(f.spheres.size(), i);
  gamePhase = PHASE_BURST_SHRINK;
  EXPECT_EQ(draw().tiles[36].colour, plain) << "no cursor during a wave";
}

TEST(Scene, TheWinnersSphereAloneFillsTheViewAndEachSphereListIsBuiltOnce) {
  sphereList3 = sphereList15 = sphereList100 = 0;
  startPlay();
  gamePhase = PHASE_PLAYER2_WON;
  Frame f = draw();
  ASSERT_EQ(f.tiles.size() + f.spheres.size(), 1u);
  expectSphere(f.spheres[0], Vec{}, 37, 19800, blueShine);
  EXPECT_EQ(f.listsAsked * 10 + draw().listsAsked, 10) << "the winner's sphere, once";
  orbCount[1][1] = 4, cellOwner[1][1] = burstFlag[1][1] = burstStep = 1;
  gamePhase = PHASE_BURST_GROW;
  EXPECT_EQ(draw().listsAsked * 10 + draw().listsAsked, 20) << "orbs and burst spheres, once";
  gl::nextList = 0, sphereList3 = sphereList15 = 0; // out of lists: each sphere asks again, is
  for (int frame = 0; frame < 2; frame++) {         // drawn directly, and no list 0 is compiled
    f = draw();
    EXPECT_EQ(
        std::vector<int>({f.listsAsked, f.listsCompiled, f.spheres[0].facets, f.spheres[4].facets}),
        std::vector<int>({5, 0, 12, 420}));
  }
  gl::nextList = 1000;
}

} // namespace
