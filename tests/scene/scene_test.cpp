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

// Follows a frame's calls as GL would (materials, each sphere's placement and its undoing, lists
// compiled and replayed; a tile is six faces drawn in place), failing on a sphere facing inward.
struct Frame {
  std::vector<Shape> tiles, spheres;
  Vec diffuse{}, specular{}, move{}, normal{};
  double scale = 1, compiling = 0, inSphere = 0;
  int listsAsked = 0, listsCompiled = 0, faces = 0;

  void vertex(const Vec &at) {
    Shape &s = (inSphere ? spheres : tiles).back();
    double out = 0; // the normal against the corner's direction from the sphere's centre
    for (int k = 0; k < 3; k++)
      if (inSphere)
        out += normal[k] * (at[k] - s.low[k]);
      else
        s.low[k] = std::min(s.low[k], at[k]), s.high[k] = std::max(s.high[k], at[k]);
    EXPECT_TRUE(!inSphere || out > 0) << "a sphere's facet faces inward";
  }
  void run(const GlCall &c) {
    const double *a = c.a;
    std::string_view n = c.name;
    Vec at = {move[0] + scale * a[0], move[1] + scale * a[1], move[2] + scale * a[2]};
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
    if (n == "glVertex3f") vertex(at);
    listsAsked += n == "glGenLists", listsCompiled += n == "glNewList" || n == "glEndList";
    compiling = n == "glNewList" ? (lists[a[0]].clear(), a[0]) : n == "glEndList" ? 0 : compiling;
    for (const GlCall &listed : std::vector<GlCall>(n == "glCallList" ? lists.at(a[0]) : lists[-1]))
      run(listed);
  }
};

Frame draw() {
  gl::reset(), display();
  Frame f;
  for (const GlCall &c : gl::calls)
    f.run(c);
  EXPECT_TRUE(f.faces % 6 == 0 && f.move == Vec{})
      << "a tile is a box of six faces, and no sphere leaves the matrix moved";
  return f;
}

const Vec plain = {0.8f, 0.8f, 0.8f, 1}, loaded = {0.8f, 1, 0.8f, 1}, blue = {0.6f, 0.6f, 1, 1};
const Vec redShine = {5, 0, 0, 1}, blueShine = {0, 0, 5, 1};

TEST(Scene, TheBoardShowsEveryCell) {
  startPlay();
  struct {
    int x, y, orbs, owner, flag, h;
    Vec tile;
    std::vector<std::pair<double, double>> at; // orb centres from the tile's corner
  } cells[] = {
      // In scan order; tiles stand 3 lower per orb short of critical mass.
      {0, 0, 1, 1, 0, -3, loaded, {{5.5, 5.5}}},
      {0, 3, 2, 2, 0, -3, loaded, {{3, 3}, {8, 8}}},
      {2, 5, 7, 1, 1, 9, loaded, {{3, 3}, {8, 8}, {8, 3}, {3, 8}}}, // bursting: the mover's colour
      {3, 3, 3, 1, 0, -3, loaded, {{3, 3}, {8, 3}, {5.5, 8}}},
      {4, 4, 2, 2, 0, -6, blue, {{3, 3}, {8, 8}}}, // the cursor, player 2 to move
      {5, 5, 0, 0, 0, -12, plain, {}},             // an empty inner cell
  };
  for (const auto &c : cells)
    orbCount[c.x][c.y] = c.orbs, cellOwner[c.x][c.y] = c.owner, burstFlag[c.x][c.y] = c.flag;
  currentPlayer = 2, burstStep = 4;
  Frame f = draw();
  ASSERT_EQ(f.tiles.size(), 64u);
  std::vector<Shape> spheres;
  for (const auto &c : cells) { // a tile is 11 x 11 on a pitch of 13, one deep below its top at h
    double x0 = 13 * c.x - 51, y0 = 13 * c.y - 51, h = c.h;
    EXPECT_EQ(f.tiles[8 * c.x + c.y], Shape({{x0, y0, h - 1}, {x0 + 11, y0 + 11, h}, c.tile, 6}))
        << c.x << "," << c.y;
    for (auto [dx, dy] : c.at)
      spheres.push_back({{x0 + dx, y0 + dy, h}, {2}, c.owner == 1 ? redShine : blueShine, 12});
    if (c.flag) spheres.push_back({{x0 + 5.5, y0 + 5.5, h}, {4}, blueShine, 420});
  }
  EXPECT_EQ(f.spheres, spheres);
  gamePhase = PHASE_BURST_SHRINK;
  EXPECT_EQ(draw().tiles[36].colour, plain) << "no cursor during a wave";
  gamePhase = PHASE_PLAYER2_WON;
  f = draw();
  EXPECT_EQ(f.spheres, std::vector<Shape>({{{}, {37}, blueShine, 19800}}));
  EXPECT_TRUE(f.tiles.empty()) << "the winner's sphere alone";
}

TEST(Scene, EachSphereListIsBuiltOnceOrAskedForAgainWhileTheGlHasNone) {
  sphereList3 = sphereList15 = sphereList100 = 0;
  startPlay();
  orbCount[1][1] = 4, cellOwner[1][1] = burstFlag[1][1] = burstStep = 1;
  gamePhase = PHASE_BURST_GROW;
  EXPECT_EQ(draw().listsAsked * 10 + draw().listsAsked, 20) << "orbs and burst spheres, once";
  gamePhase = PHASE_PLAYER1_WON;
  EXPECT_EQ(draw().listsAsked * 10 + draw().listsAsked, 10) << "the winner's sphere, once";
  gl::nextList = 0, sphereList3 = sphereList15 = 0, gamePhase = PHASE_BURST_GROW;
  for (int frame = 0; frame < 2; frame++) { // each sphere drawn directly, no list 0 compiled
    Frame f = draw();
    EXPECT_EQ(
        std::vector<int>({f.listsAsked, f.listsCompiled, f.spheres[0].facets, f.spheres[4].facets}),
        std::vector<int>({5, 0, 12, 420}));
  }
  gl::nextList = 1000;
}

} // namespace
