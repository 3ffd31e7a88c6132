// Rule tests: bursts, waves, the winner, the quit keys, the sequencer's timeline, random games.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "game/bursts.h"
#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"
#include "gl_double.h"
#include "play.h"

namespace {

struct Cell {
  int x, y, orbs, owner;
};

void setBoard(const std::vector<Cell> &cells) {
  startPlay();
  for (const Cell &c : cells)
    orbCount[c.x][c.y] = c.orbs, cellOwner[c.x][c.y] = c.owner;
}

// The cells that hold orbs or an owner, in scan order.
std::vector<Cell> board() {
  std::vector<Cell> cells;
  for (int x = 0; x < 8; x++)
    for (int y = 0; y < 8; y++)
      if (orbCount[x][y] || cellOwner[x][y])
        cells.push_back({x, y, orbCount[x][y], cellOwner[x][y]});
  return cells;
}

bool operator==(const Cell &a, const Cell &b) {
  return a.x == b.x && a.y == b.y && a.orbs == b.orbs && a.owner == b.owner;
}
std::ostream &operator<<(std::ostream &out, const Cell &c) {
  return out << "(" << c.x << "," << c.y << ": " << c.orbs << " of " << c.owner << ")";
}

// Puts the mover's orb on (x, y) with Enter; the cursor is placed by hand.
void enterAt(int x, int y) { cursorX = x, cursorY = y, keyboard(13, 0, 0); }

TEST(Rules, CriticalMassIsTheNumberOfNeighbours) {
  for (int x = 0; x < 8; x++)
    for (int y = 0; y < 8; y++)
      EXPECT_EQ(criticalMass[x][y], (x > 0) + (x < 7) + (y > 0) + (y < 7)) << x << "," << y;
}

// One wave by the mover (player 1 unless said), then the flags of the next one.
TEST(Rules, WavesMoveOrbsToNeighboursAndHandThemToTheMover) {
  struct Case {
    const char *what;
    int mover;
    std::vector<Cell> before, after;
    int next; // markBursts after the wave
  } cases[] = {
      {"corner, emptied cell loses its owner", 1, {{0, 0, 2, 1}}, {{0, 1, 1, 1}, {1, 0, 1, 1}}, 0},
      {"edge takes the other player's cell",
       2,
       {{0, 3, 3, 2}, {1, 3, 3, 1}},
       {{0, 2, 1, 2}, {0, 4, 1, 2}, {1, 3, 4, 2}},
       1},
      {"overfull inner cell keeps the rest",
       1,
       {{6, 3, 5, 1}},
       {{5, 3, 1, 1}, {6, 2, 1, 1}, {6, 3, 1, 1}, {6, 4, 1, 1}, {7, 3, 1, 1}},
       0},
      {"far corner", 2, {{7, 7, 2, 2}, {6, 7, 1, 1}}, {{6, 7, 2, 2}, {7, 6, 1, 2}}, 0},
      {"neighbours burst in scan order, counts change as it goes",
       1,
       {{0, 0, 2, 1}, {1, 0, 3, 1}},
       {{0, 0, 1, 1}, {0, 1, 1, 1}, {1, 0, 1, 1}, {1, 1, 1, 1}, {2, 0, 1, 1}},
       0},
  };
  for (const Case &c : cases) {
    setBoard(c.before);
    currentPlayer = c.mover;
    EXPECT_EQ(markBursts(), 1) << c.what;
    spreadBursts();
    EXPECT_EQ(markBursts(), c.next) << c.what;
    EXPECT_EQ(board(), c.after) << c.what;
  }
}

TEST(Rules, TheWinnerAloneOwnsCells) {
  struct Case {
    std::vector<Cell> cells;
    int result;
  } cases[] = {{{}, PHASE_AWAIT_MOVE},
               {{{3, 3, 1, 1}, {7, 7, 2, 1}}, PHASE_PLAYER1_WON},
               {{{0, 0, 1, 2}}, PHASE_PLAYER2_WON},
               {{{0, 0, 1, 1}, {7, 7, 1, 2}}, PHASE_AWAIT_MOVE},
               {{{0, 0, 1, 2}, {7, 7, 1, 1}}, PHASE_AWAIT_MOVE}};
  for (const Case &c : cases) {
    setBoard(c.cells);
    EXPECT_EQ(checkWinner(), c.result) << c.cells.size() << " cells";
  }
}

TEST(Rules, QuitKeysEndTheProgramWithStatusZeroInEveryPhase) {
  for (int phase = PHASE_AWAIT_MOVE; phase <= PHASE_PLAYER2_WON; phase++)
    for (int key : {27, int('q'), int('Q')}) {
      setBoard({{0, 0, 1, 1}});
      gamePhase = phase, burstStep = phase == 1 || phase == 2;
      EXPECT_EXIT(keyboard(key, 0, 0), testing::ExitedWithCode(0), "") << phase << " " << key;
    }
}

// A corner burst from the start: 19 ticks, each one frame; the orbs move at the tenth step.
TEST(Sequencer, OneWaveTakesNineteenTicksWhileTheCameraSways) {
  setBoard({{0, 0, 1, 1}, {7, 7, 1, 2}});
  enterAt(0, 0);
  ASSERT_EQ(gamePhase, PHASE_BURST_GROW);
  const int steps[19] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
  const int headings[19] = {751, 752, 753, 754, 755, 756, 757, 758, 759, 760,
                            759, 758, 757, 756, 755, 754, 753, 752, 751};
  for (int t = 0; t < 19; t++) {
    gl::reset();
    idle();
    EXPECT_EQ(gl::frames, 1) << "tick " << t + 1;
    EXPECT_EQ(burstStep, steps[t]) << "tick " << t + 1;
    EXPECT_EQ(swingAngle, headings[t]) << "tick " << t + 1;
    EXPECT_EQ(orbCount[0][0], t < 8 ? 2 : 0) << "tick " << t + 1;
    EXPECT_EQ(currentPlayer, t < 18 ? 1 : 2) << "tick " << t + 1;
  }
  EXPECT_EQ(gamePhase, PHASE_AWAIT_MOVE);
  gl::reset();
  idle(), idle();
  EXPECT_EQ(swingAngle, 750);
  EXPECT_EQ(gl::frames, 1) << "one frame brings the camera to rest, then nothing";
}

TEST(Sequencer, CascadesWaveByWaveAndAWinStopsThem) {
  // (0,0) fills (1,0), which bursts in a second wave; then the turn passes.
  setBoard({{0, 0, 1, 1}, {1, 0, 2, 1}, {7, 7, 1, 2}});
  enterAt(0, 0);
  for (int t = 0; t < 19; t++)
    idle();
  EXPECT_EQ(gamePhase, PHASE_BURST_GROW);
  EXPECT_EQ(burstStep, 1);
  EXPECT_EQ(currentPlayer, 1);
  for (int t = 0; t < 19; t++)
    idle();
  EXPECT_EQ(gamePhase, PHASE_AWAIT_MOVE);
  EXPECT_EQ(currentPlayer, 2);
  // Taking player 2's only cell wins at once, although (1,0) is now at its critical mass.
  setBoard({{0, 0, 1, 1}, {1, 0, 2, 1}, {0, 1, 1, 2}});
  enterAt(0, 0);
  for (int t = 0; t < 19; t++)
    idle();
  EXPECT_EQ(gamePhase, PHASE_PLAYER1_WON);
  EXPECT_EQ(orbCount[1][0], 3);
}

// Seeded random games through the keys and ticks alone, every event checked against the rules.
// Arrows lean to the lower left, so that the players meet and games end.
TEST(RandomGames, KeepEveryRule) {
  const char *seed = getenv("FIZZGRID_SEED");
  std::mt19937 random(seed ? atoi(seed) : 1);
  std::discrete_distribution<int> kind({6, 1, 2, 6, 6, 1, 1, 5}); // weights of byte & 7
  int wins = 0, games = 600;
  gl::recording = false; // frames are counted all the same
  for (int game = 0; game < games; game++) {
    startPlay();
    for (int event = 0; event < 400 && gamePhase < PHASE_PLAYER1_WON; event++) {
      const char *broke = playByte(kind(random) | (random() & 0xf8));
      ASSERT_EQ(broke, nullptr) << broke << ": game " << game << ", event " << event;
    }
    wins += gamePhase >= PHASE_PLAYER1_WON;
    ASSERT_EQ(playByte(5), nullptr); // Space
  }
  gl::recording = true;
  printf("%d random games, %d won\n", games, wins);
  EXPECT_GT(wins, games / 10) << "too few games reach a win to test the end of a game";
}

} // namespace
