// Rule tests: waves, the sequencer's ticks, the quit keys, and seeded random games.
#include <gtest/gtest.h>

#include <random>

#include "game/bursts.h"
#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"
#include "gl_double.h"
#include "play.h"

namespace {

using Cells = std::vector<std::array<int, 4>>; // x, y, orbs, owner

void setBoard(const Cells &cells) {
  startPlay();
  for (auto [x, y, orbs, owner] : cells)
    orbCount[x][y] = orbs, cellOwner[x][y] = owner;
}

// One wave by the mover, then whether the next wave has bursts.
TEST(Rules, AWaveSendsAnOrbToEachNeighbourAndTheMoverTakesThem) {
  struct {
    int mover;
    Cells before, after; // the cells that hold orbs or an owner, in scan order
    int next;
  } cases[] = {
      {1, {{0, 0, 2, 1}}, {{0, 1, 1, 1}, {1, 0, 1, 1}}, 0}, // the emptied corner loses its owner
      {2, {{0, 3, 3, 2}, {1, 3, 3, 1}}, {{0, 2, 1, 2}, {0, 4, 1, 2}, {1, 3, 4, 2}}, 1},
      {1,
       {{6, 3, 5, 1}},
       {{5, 3, 1, 1}, {6, 2, 1, 1}, {6, 3, 1, 1}, {6, 4, 1, 1}, {7, 3, 1, 1}},
       0},
      {2, {{7, 7, 2, 2}, {6, 7, 1, 1}}, {{6, 7, 2, 2}, {7, 6, 1, 2}}, 0},
      // Neighbours burst in scan order, the counts changing as it goes.
      {1,
       {{0, 0, 2, 1}, {1, 0, 3, 1}},
       {{0, 0, 1, 1}, {0, 1, 1, 1}, {1, 0, 1, 1}, {1, 1, 1, 1}, {2, 0, 1, 1}},
       0},
  };
  for (const auto &c : cases) {
    setBoard(c.before);
    currentPlayer = c.mover;
    Cells after;
    int marks[2] = {markBursts(), (spreadBursts(), markBursts())};
    for (int x = 0; x < 8; x++)
      for (int y = 0; y < 8; y++)
        if (orbCount[x][y] || cellOwner[x][y])
          after.push_back({x, y, orbCount[x][y], cellOwner[x][y]});
    EXPECT_EQ(after, c.after) << "from " << c.before[0][0] << "," << c.before[0][1];
    EXPECT_EQ(marks[0] * 10 + marks[1], 10 + c.next);
  }
}

TEST(Keys, QuitEndsTheProgramWithStatusZeroInEveryPhase) {
  for (int phase = PHASE_AWAIT_MOVE; phase <= PHASE_PLAYER2_WON; phase++)
    for (int key : {27, int('q'), int('Q')})
      EXPECT_EXIT((gamePhase = phase, keyboard(key, 0, 0)), testing::ExitedWithCode(0), "");
}

// A corner burst: 19 ticks of one frame each, the orbs moving at the tenth step; then the turn
// passes and one more frame brings the camera to rest.
TEST(Sequencer, AWaveTakesNineteenTicksWhileTheCameraSways) {
  setBoard({{0, 0, 1, 1}, {7, 7, 1, 2}});
  cursorX = cursorY = 0, keyboard(13, 0, 0);
  const int steps[19] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
  const int headings[19] = {751, 752, 753, 754, 755, 756, 757, 758, 759, 760,
                            759, 758, 757, 756, 755, 754, 753, 752, 751};
  for (int t = 0; t < 19; t++) {
    idle();
    EXPECT_EQ(std::vector<int>({gl::frames, burstStep, swingAngle, orbCount[0][0], currentPlayer}),
              std::vector<int>({t + 2, steps[t], headings[t], t < 8 ? 2 : 0, t < 18 ? 1 : 2}))
        << "tick " << t + 1;
  }
  idle(), idle();
  EXPECT_EQ(std::vector<int>({gl::frames, swingAngle, gamePhase}), std::vector<int>({21, 750, 0}));
}

// A second wave follows at once; a win ends the cascade although a cell is still critical.
TEST(Sequencer, WavesCascadeUntilQuietOrWon) {
  for (int p2 : {7, 1}) {
    setBoard({{0, 0, 1, 1}, {1, 0, 2, 1}, {0, p2, 1, 2}});
    cursorX = cursorY = 0, keyboard(13, 0, 0);
    std::vector<int> seen;
    for (int t = 1; t <= 38; t++)
      if (idle(), t % 19 == 0)
        seen.insert(seen.end(), {gamePhase, burstStep, currentPlayer, orbCount[1][0]});
    EXPECT_EQ(seen, p2 == 1 ? std::vector<int>({3, 0, 1, 3, 3, 0, 1, 3})
                            : std::vector<int>({1, 1, 1, 3, 0, 0, 2, 0}));
  }
}

// Seeded random games through keys and ticks alone, every event checked against the rules.
// Arrows lean to the lower left, so that the players meet and games end.
TEST(RandomGames, KeepEveryRule) {
  std::mt19937 random(getenv("FIZZGRID_SEED") ? atoi(getenv("FIZZGRID_SEED")) : 1);
  std::discrete_distribution<int> kind({6, 1, 2, 6, 6, 1, 1, 5}); // weights of byte & 7
  int wins = 0, games = 600;
  gl::recording = false; // frames are counted all the same
  for (int game = 0; game<games; game++, wins += gamePhase> 2) {
    startPlay();
    for (int event = 0; event < 400 && gamePhase < PHASE_PLAYER1_WON; event++) {
      const char *broke = playByte(kind(random) | (random() & 0xf8));
      ASSERT_EQ(broke, nullptr) << broke << ": game " << game << ", event " << event;
    }
  }
  gl::recording = true;
  EXPECT_GT(wins, games / 10) << "too few games reach a win to test the end of a game";
}

} // namespace
