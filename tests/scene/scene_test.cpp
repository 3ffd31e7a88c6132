// Scene tests: the game's calls read back into tiles and spheres, checked for what players see.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <array>

#include "app/frame.h"
#include "game/state.h"
#include "support.h"

// A tile: its lowest and highest x, y and z. A sphere: its centre, radius, 0, 0. Then the colour
// (a tile's diffuse, a sphere's specular) as a player names it, and the number of facets.
using Shape = std::array<double, 8>;
const double GREY = 0, GREEN = 1, RED = 2, BLUE = 3;
static double hue(const double *rgb) {
  return rgb[0] > rgb[1] ? RED : rgb[2] > rgb[1] ? BLUE : rgb[1] > rgb[0] ? GREEN : GREY;
}

// Draws a frame and runs its calls as GL would: materials, each sphere placed and put back, a
// tile's six faces. Fails on a sphere's inward facet.
struct Frame {
  std::vector<Shape> tiles, spheres;
  double move[3] = {}, normal[3] = {}, scale = 1, diffuse = 0, specular = 0;
  int faces = 0, compiled = 0, inSphere = 0;
  Frame() {
    glCalls.clear();
    display();
    for (const GlCall &c : glCalls)
      run(c.name, c.a);
  }
  void run(std::string_view n, const double *a) {
    compiled += n == "glNewList";
    double at[3] = {move[0] + scale * a[0], move[1] + scale * a[1], move[2] + scale * a[2]};
    if (n == "glMaterialfv") (a[1] == GL_DIFFUSE ? diffuse : specular) = hue(a + 2);
    if (n == "glTranslatef" && !inSphere)
      spheres.push_back({at[0], at[1], at[2], 0, 0, 0, specular});
    if (n == "glTranslatef") inSphere = !inSphere, std::copy(at, at + 3, move);
    if (n == "glScalef" && !spheres.back()[3]) spheres.back()[3] = scale * a[0];
    if (n == "glScalef") scale *= a[0];
    if (n == "glBegin" && !inSphere && faces++ % 6 == 0)
      tiles.push_back({1e9, 1e9, 1e9, -1e9, -1e9, -1e9, diffuse});
    if (n == "glBegin") (inSphere ? spheres : tiles).back()[7]++;
    if (n == "glNormal3f") std::copy(a, a + 3, normal);
    if (n != "glVertex3f") return;
    Shape &s = (inSphere ? spheres : tiles).back();
    double out = 0; // the normal against the corner's direction from the sphere's centre
    for (int k = 0; k < 3; k++) {
      out += normal[k] * (at[k] - s[k]);
      if (!inSphere) s[k] = std::min(s[k], at[k]), s[k + 3] = std::max(s[k + 3], at[k]);
    }
    EXPECT_TRUE(!inSphere || out > 0) << "a sphere's facet faces inward";
  }
};

// Five cells, player 2 to move, a wave at step 4: tiles 3 lower per orb short of critical mass,
// greener one short, the cursor's in the mover's colour; orbs in their owner's, bursts the mover's.
TEST(Scene, TheBoardShowsEveryCell) {
  startPlay();
  struct {
    int x, y, orbs, owner, flag;
    double h, tile;
    std::vector<std::pair<double, double>> at; // orb centres from the tile's corner
  } cells[] = {
      {0, 0, 1, 1, 0, -3, GREEN, {{5.5, 5.5}}},
      {0, 3, 2, 2, 0, -3, BLUE, {{3, 3}, {8, 8}}}, // the cursor, off the diagonal
      {2, 5, 7, 1, 1, 9, GREEN, {{3, 3}, {8, 8}, {8, 3}, {3, 8}}},
      {3, 3, 3, 1, 0, -3, GREEN, {{3, 3}, {8, 3}, {5.5, 8}}},
      {5, 5, 0, 0, 0, -12, GREY, {}},
  };
  for (const auto &c : cells)
    orbCount[c.x][c.y] = c.orbs, cellOwner[c.x][c.y] = c.owner, burstFlag[c.x][c.y] = c.flag;
  currentPlayer = 2, cursorX = 0, cursorY = 3, burstStep = 4;
  Frame f;
  std::vector<Shape> spheres;
  for (const auto &c : cells) { // a tile is 11 x 11 on a pitch of 13, one deep below its top at h
    double x = 13 * c.x - 51, y = 13 * c.y - 51;
    EXPECT_EQ(f.tiles.at(8 * c.x + c.y), Shape({x, y, c.h - 1., x + 11, y + 11, c.h, c.tile, 6}));
    for (auto [dx, dy] : c.at)
      spheres.push_back({x + dx, y + dy, c.h, 2, 0, 0, c.owner == 1 ? RED : BLUE, 12});
    if (c.flag) spheres.push_back({x + 5.5, y + 5.5, c.h, 4, 0, 0, BLUE, 420});
  }
  EXPECT_EQ(f.spheres, spheres);
  gamePhase = PHASE_BURST_SHRINK;
  Frame wave;
  EXPECT_EQ(wave.tiles.at(3)[6], GREEN) << "no cursor during a wave";
  EXPECT_EQ(wave.compiled, 0) << "each sphere list is built once, then replayed";
}
