// Rule tests: waves, the sequencer's ticks, the quit keys, and seeded random games.
#include <gtest/gtest.h>

#include <random>

#include "game/bursts.h"
#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"
#include "support.h"

namespace {

// Boards as text: each cell with orbs or an owner as four digits, x y orbs owner, in scan order.
void setBoard(const std::string &cells) {
  startPlay();
  for (size_t i = 0; i + 4 <= cells.size(); i += 5) {
    int x = cells[i] - '0', y = cells[i + 1] - '0';
    orbCount[x][y] = cells[i + 2] - '0', cellOwner[x][y] = cells[i + 3] - '0';
  }
}
std::string board() {
  std::string cells;
  char cell[8];
  for (int x = 0; x < 8; x++)
    for (int y = 0; y < 8; y++)
      if (orbCount[x][y] || cellOwner[x][y])
        snprintf(cell, 8, " %d%d%d%d", x, y, orbCount[x][y], cellOwner[x][y]), cells += cell;
  return cells.substr(1);
}

// One wave by the mover, then whether another follows.
TEST(Rules, AWaveSendsAnOrbToEachNeighbourAndTheMoverTakesThem) {
  std::tuple<int, const char *, const char *, int> cases[] = {
      {1, "0021", "0111 1011", 0}, // the emptied corner loses its owner
      {2, "0332 1331", "0212 0412 1342", 1},
      {1, "6351", "5311 6211 6311 6411 7311", 0},
      {2, "6711 7722", "6722 7612", 0},
      {1, "0021 1031", "0011 0111 1011 1111 2011", 0}, // in scan order, counts changing as it goes
  };
  for (auto [mover, before, after, next] : cases) {
    setBoard(before);
    currentPlayer = mover;
    int marks = markBursts() * 10;
    spreadBursts();
    EXPECT_EQ(marks + markBursts(), 10 + next) << before;
    EXPECT_EQ(board(), after) << before;
  }
}

TEST(Keys, QuitEndsTheProgramWithStatusZeroInEveryPhase) {
  for (int phase = PHASE_AWAIT_MOVE; phase <= PHASE_PLAYER2_WON; phase++)
    for (int key : {27, int('q'), int('Q')})
      EXPECT_EXIT((gamePhase = phase, keyboard(key, 0, 0)), testing::ExitedWithCode(0), "");
}

// Two waves, (1,0) filled by the corner's burst: a frame a tick, the orbs moving at step 10, the
// camera swaying between 740 and 760, the turn passing at the end and one frame for the rest.
TEST(Sequencer, WavesTakeNineteenTicksEachWhileTheCameraSways) {
  setBoard("0011 1021 7712");
  cursorX = cursorY = 0, keyboard(13, 0, 0);
  const std::vector<int> ticks[] = {
      // tick, burstStep, heading, orbs on (0,0), player, phase
      {8, 9, 758, 2, 1, 1},  {9, 10, 759, 0, 1, 2},  {10, 9, 760, 0, 1, 2}, {11, 8, 759, 0, 1, 2},
      {19, 1, 751, 0, 1, 1}, {28, 10, 742, 1, 1, 2}, {30, 8, 740, 1, 1, 2}, {31, 7, 741, 1, 1, 2},
      {37, 1, 747, 1, 1, 2}, {38, 0, 748, 1, 2, 0},  {39, 0, 750, 1, 2, 0}, {40, 0, 750, 1, 2, 0}};
  std::vector<std::vector<int>> seen;
  for (int t = 1; t <= 40; t++) {
    idle();
    seen.push_back({t, burstStep, swingAngle, orbCount[0][0], currentPlayer, gamePhase});
    ASSERT_EQ(gl::frames, 1 + std::min(t, 39)) << "tick " << t;
  }
  for (auto &want : ticks)
    EXPECT_EQ(seen[want[0] - 1], want);
}

// Seeded random games, every key and tick checked; arrows lean lower left, so that games end.
TEST(RandomGames, KeepEveryRule) {
  std::mt19937 random(getenv("FIZZGRID_SEED") ? atoi(getenv("FIZZGRID_SEED")) : 1);
  std::discrete_distribution<int> kind({6, 1, 2, 6, 6, 1, 1, 5}); // weights of byte & 7
  int wins = 0, games = 400;
  for (int game = 0; game < games; game++, wins += (gamePhase > 2)) {
    startPlay();
    for (int event = 0; event < 400 && gamePhase < PHASE_PLAYER1_WON; event++) {
      const char *broke = playByte(kind(random) | (random() & 0xf8));
      ASSERT_EQ(broke, nullptr) << broke << ": game " << game << ", event " << event;
    }
  }
  EXPECT_GT(wins, games / 10) << "too few games reach a win to test the end of a game";
}

} // namespace
