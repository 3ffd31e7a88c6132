// Scene tests: the game's calls read back into tiles and spheres, checked for what players see.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <map>

#include "app/frame.h"
#include "game/state.h"
#include "render/sphere.h"
#include "support.h"

namespace {

using Vec = std::array<double, 4>; // a point (w unused) or an RGBA colour
struct Shape {                     // a tile from low to high, or a sphere: its centre in low and
  Vec low, high, colour;           // its radius in high[0]; a tile's diffuse colour, a sphere's
  int facets;                      // specular
  bool operator==(const Shape &s) const {
    return low == s.low && high == s.high && colour == s.colour && facets == s.facets;
  }
};
std::map<double, std::vector<GlCall>> lists; // display lists as compiled, kept across frames

// Draws a frame and reads its calls back as GL draws them: materials, each sphere placed and put
// back, lists compiled and replayed, a tile as six faces in place. Fails on inward facets.
struct Frame {
  std::vector<Shape> tiles, spheres;
  Vec diffuse{}, specular{}, move{}, normal{};
  double scale = 1, compiling = 0;
  bool inSphere = false;
  int faces = 0, listsCompiled = 0;
  Frame() {
    gl::calls.clear();
    display();
    for (const GlCall &c : gl::calls)
      run(c);
  }

  void run(const GlCall &c) {
    const double *a = c.a;
    std::string_view n = c.name;
    if (compiling && n != "glEndList") lists[compiling].push_back(c);
    if (n == "glNewList" || n == "glEndList") compiling = n == "glNewList" ? a[0] : 0;
    listsCompiled += n == "glNewList";
    if (n == "glCallList")
      for (const GlCall &listed : lists.at(a[0]))
        run(listed);
    Vec at = {move[0] + scale * a[0], move[1] + scale * a[1], move[2] + scale * a[2]};
    if (n == "glMaterialfv") (a[1] == GL_DIFFUSE ? diffuse : specular) = {a[2], a[3], a[4], a[5]};
    if (n == "glTranslatef" && !inSphere) spheres.push_back({at, {}, specular, 0});
    if (n == "glTranslatef") move = at;
    if (n == "glTranslatef") inSphere = !inSphere;
    if (n == "glScalef" && !spheres.back().high[0]) spheres.back().high[0] = scale * a[0];
    scale *= n == "glScalef" ? a[0] : 1;
    if (n == "glBegin" && !inSphere && faces++ % 6 == 0)
      tiles.push_back({{1e9, 1e9, 1e9}, {-1e9, -1e9, -1e9}, diffuse, 0});
    if (n == "glBegin") (inSphere ? spheres : tiles).back().facets++;
    if (n == "glNormal3f") normal = {a[0], a[1], a[2]};
    if (n != "glVertex3f") return;
    Shape &s = (inSphere ? spheres : tiles).back();
    double out = 0; // the normal against the corner's direction from the sphere's centre
    for (int k = 0; k < 3; k++) {
      out += normal[k] * (at[k] - s.low[k]);
      if (!inSphere) s.low[k] = std::min(s.low[k], at[k]);
      if (!inSphere) s.high[k] = std::max(s.high[k], at[k]);
    }
    EXPECT_TRUE(!inSphere || out > 0) << "a sphere's facet faces inward";
  }
};

const Vec plain = {0.8f, 0.8f, 0.8f, 1}, loaded = {0.8f, 1, 0.8f, 1}, blue = {0.6f, 0.6f, 1, 1};
const Vec redShine = {5, 0, 0, 1}, blueShine = {0, 0, 5, 1};

// Six cells in scan order, player 2 to move: tiles stand 3 lower per orb short of critical mass.
TEST(Scene, TheBoardShowsEveryCell) {
  sphereList3 = sphereList15 = 0;
  startPlay();
  struct {
    int x, y, orbs, owner, flag;
    double h;
    Vec tile;
    std::vector<std::pair<double, double>> at; // orb centres from the tile's corner
  } cells[] = {
      {0, 0, 1, 1, 0, -3, loaded, {{5.5, 5.5}}},
      {0, 3, 2, 2, 0, -3, loaded, {{3, 3}, {8, 8}}},
      {2, 5, 7, 1, 1, 9, loaded, {{3, 3}, {8, 8}, {8, 3}, {3, 8}}}, // bursting: the mover's colour
      {3, 3, 3, 1, 0, -3, loaded, {{3, 3}, {8, 3}, {5.5, 8}}},
      {4, 6, 2, 2, 0, -6, blue, {{3, 3}, {8, 8}}}, // the cursor, off the diagonal
      {5, 5, 0, 0, 0, -12, plain, {}},             // an empty inner cell
  };
  for (const auto &c : cells) {
    orbCount[c.x][c.y] = c.orbs;
    cellOwner[c.x][c.y] = c.owner;
    burstFlag[c.x][c.y] = c.flag;
  }
  currentPlayer = 2;
  cursorX = 4;
  cursorY = 6;
  burstStep = 4;
  Frame f;
  ASSERT_EQ(f.tiles.size(), 64u);
  std::vector<Shape> spheres;
  for (const auto &c : cells) { // a tile is 11 x 11 on a pitch of 13, one deep below its top at h
    double x0 = 13 * c.x - 51, y0 = 13 * c.y - 51;
    EXPECT_EQ(f.tiles[8 * c.x + c.y],
              Shape({{x0, y0, c.h - 1}, {x0 + 11, y0 + 11, c.h}, c.tile, 6}))
        << c.x << "," << c.y;
    for (auto [dx, dy] : c.at)
      spheres.push_back({{x0 + dx, y0 + dy, c.h}, {2}, c.owner == 1 ? redShine : blueShine, 12});
    if (c.flag) spheres.push_back({{x0 + 5.5, y0 + 5.5, c.h}, {4}, blueShine, 420});
  }
  EXPECT_EQ(f.spheres, spheres);
  gamePhase = PHASE_BURST_SHRINK;
  Frame wave;
  EXPECT_EQ(wave.tiles[8 * 4 + 6].colour, plain) << "no cursor during a wave";
  EXPECT_EQ(wave.listsCompiled, 0) << "each sphere list is built once, then replayed";
  gl::outOfLists = true;
  sphereList3 = sphereList15 = 0;
  Frame direct;
  gl::outOfLists = false;
  EXPECT_EQ(direct.spheres, spheres) << "a GL out of lists: every sphere drawn all the same";
  EXPECT_EQ(direct.listsCompiled, 0) << "and no list 0 compiled";
}

} // namespace
