// Shared pieces of the end-to-end tests: where the board lands on screen, colour classes, and a
// fixture that runs the game in its own X server.
//
// Screen geometry is that of the resting camera in a 600 x 600 window: eye (0, 0, 55) looking
// down -z through a square 90-degree frustum, so a point (x, y, z) lands x / (55 - z) and
// y / (55 - z) of the half-width (300 px) from the centre. Tile (i, j) spans 13i - 51 .. 13i - 40
// on x (likewise on y) with its top at z = -6 (corner), -9 (edge) or -12 (inner) when empty, and
// its underside one unit below.
#pragma once

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "x_harness.h"

namespace e2e {

using xh::Image;
using xh::Rgb;

struct Pixel {
  int x, y; // column from the left, row from the top
};
struct Box {
  int left, top, right, bottom; // inclusive pixel bounds
};

// Where a point of the scene lands in the 600 x 600 window with the camera at rest.
Pixel project(double x, double y, double z);
// Height of the top face of tile (i, j) on an empty board: -6, -9 or -12.
int emptyTileHeight(int i, int j);
// A point on the top face of tile (i, j) at `height`, 1 unit in from its left edge and 1 from its
// top: clear of every orb layout, so it shows the tile's own material.
Pixel tileSample(int i, int j, int height);
// The bounding box of tile (i, j)'s on-screen silhouette (its 8 corners projected).
Box tileBox(int i, int j, int height);

bool isDark(Rgb c);    // background and gaps
bool isGrey(Rgb c);    // a plain tile
bool isGreen(Rgb c);   // a loaded tile, one orb short of bursting
bool isReddish(Rgb c); // player 1: cursor, orbs, winner sphere
bool isBluish(Rgb c);  // player 2
std::string describe(Rgb c);

// A tile standing above its empty height: each orb raises it by 3.
struct Raised {
  int i, j, height;
};
// Which tiles show which colour class: a string of 8 rows, top row (j = 7) first, one character
// per tile: 'R' reddish, 'B' bluish, 'G' greenish, '.' grey, '?' other. Tiles not in `raised`
// are taken to stand at their empty height.
std::string tileMap(const Image &image, const std::vector<Raised> &raised = {});
// The tile map of a board that is grey but for the marked tiles.
struct Mark {
  int i, j;
  char colour; // a tileMap character
};
std::string boardWith(std::initializer_list<Mark> marks);

// The winner's screen: one sphere in the winner's colour class filling the middle of a 600 x 600
// window, and no tile.
bool showsWinner(const Image &image, bool (*winnerColour)(Rgb));

// Moves as the cells they are played on, in turn from the starting position (cursor on (4, 4)).
struct Cell {
  int i, j;
};
// The keys that play `moves`: arrows from the cursor's cell to each cell, then Enter. Keys are
// dropped while a wave runs, so only the last move may start one.
std::vector<unsigned long> keysForMoves(const std::vector<Cell> &moves);
// Player 1 on corner (0, 0), player 2 on (1, 0), player 1 on (0, 0) again: it bursts into both
// neighbours and player 2 has no cell left. Builds the orb, burst and winner sphere lists.
extern const std::vector<Cell> playerOneWins;
// Player 1 on edge (0, 1), player 2 on corner (0, 0), twice each: player 2's second orb bursts
// (0, 0) and the wave takes (0, 1), player 1's only cell.
extern const std::vector<Cell> playerTwoWins;

// One X server and one game per test, so tests may run in parallel.
class GameTest : public ::testing::Test {
protected:
  void TearDown() override;
  // Starts the game (and the server, the first time) and waits for its first frame: the board with
  // the cursor tile highlighted.
  Image startGame(std::vector<std::string> args = {},
                  std::vector<std::pair<std::string, std::string>> env = {});
  // Presses the keys in turn and returns the first frame drawn after them that satisfies
  // `accept`. Fails the test (returning an empty image) on timeout; does nothing once the test
  // has failed, so that a broken script stops at its first wrong step.
  Image play(std::initializer_list<unsigned long> keys,
             const std::function<bool(const Image &)> &accept);
  // play, expecting the frame's tileMap to be `expected`.
  Image play(std::initializer_list<unsigned long> keys, const std::string &expected,
             const std::vector<Raised> &raised = {});
  // Saves `image` next to the test binary when a check fails, for a look at what was seen.
  void keepForInspection(const Image &image, const std::string &what) const;

  std::unique_ptr<xh::XServer> server;
  std::unique_ptr<xh::Game> game;
};

} // namespace e2e
